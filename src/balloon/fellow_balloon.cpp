#include "balloon/fellow_balloon.h"

#include "balloon/balloon_layout.h"
#include "balloon/message_label.h"
#include "core/app_context.h"

using namespace Qt::StringLiterals;

namespace orvanel {

FellowBalloon::FellowBalloon(AppContext& ctx, QWidget* parent) : BalloonWindowOf(ctx, 1, parent) {
    setObjectName(u"frmBln_f"_s);
    setWindowTitle(u"Orvanel - Fellow balloon"_s);
    setAccessibleName(u"相方の吹き出し"_s);
    PlaceFellowMessageArea();
}

void FellowBalloon::PlaceFellowMessageArea() {
    const SkinState::Balloon& b = ctx_.skin.balloons[1];
    PlaceLabel(FellowMessageArea(b.msgArea), b.backColor);
}

void FellowBalloon::SetMessage(const QString& text) {
    Label().SetText(text);
}
QString FellowBalloon::Message() const {
    return Label().Text();
}

} // namespace orvanel
