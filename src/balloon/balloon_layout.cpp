#include "balloon/balloon_layout.h"

#include "platform/numbers.h"

#include <QStringList>

namespace orvanel {
namespace {

bool ReadInt(QStringView text, int* out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok) *out = v;
    return ok;
}

} // namespace

QColor ColorFromBgr(qint32 bgr) {
    const quint32 v = quint32(bgr);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

std::optional<QRect> ParseMsgArea(const QString& value) {
    const QStringList parts = value.split(u',');
    if (parts.size() != 4) return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i)
        if (!ReadInt(parts[i], &v[i])) return std::nullopt;
    if (v[2] <= 0 || v[3] <= 0) return std::nullopt;
    return QRect(v[0], v[1], v[2], v[3]);
}

MainBalloonLayout LayOutMainBalloon(const QString& msgArea) {
    MainBalloonLayout l;
    const std::optional<QRect> area = ParseMsgArea(msgArea);
    if (area) {
        l.message = *area;
        l.inputWidth = area->width() - area->left();
        l.panelWidth = area->width();
    } else {
        l.message = kDefaultMsgArea;
        l.inputWidth = 3705;
        l.panelWidth = 3900;
    }
    // The input box keeps a small margin inside its panel; the buttons line up with its end.
    l.inputLeft = 120;
    l.learnOkLeft = l.inputLeft + l.inputWidth - 2775;
    l.learnCancelLeft = l.inputLeft + l.inputWidth - 1575;
    l.menu = QPoint(l.message.left() - 105, l.message.top() - 75);
    const int panelTop = int(0.55 * l.message.height());
    l.teach = QPoint(120, panelTop);
    l.search = QPoint(120, panelTop);
    l.progress = QPoint(40, 2040);
    l.select = QPoint(120, 1440);
    return l;
}

QRect FellowMessageArea(const QString& msgArea) {
    return ParseMsgArea(msgArea).value_or(kDefaultMsgArea);
}

} // namespace orvanel
