#include "balloon/message_label.h"

#include <QAccessible>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace orvanel {

MessageLabel::MessageLabel(QWidget* parent) : QWidget(parent) {
    setFont(BalloonFont(false));
    // The balloon window handles every mouse action over the label.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QFont MessageLabel::BalloonFont(bool bold) {
    QFont font;
    font.setFamilies({u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"IPA Pゴシック"_s,
                      u"Noto Sans CJK JP"_s, u"VL PGothic"_s});
    // Pixel sizes keep the layout the same whatever dpi the display reports.
    font.setPixelSize(bold ? 16 : 12);
    font.setBold(bold);
    return font;
}

void MessageLabel::SetText(const QString& text) {
    if (text == text_) return;
    const QString old = text_;
    text_ = text;
    update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent changed(this, 0, old, text_);
        QAccessible::updateAccessibility(&changed);
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
    }
}

void MessageLabel::SetBackground(const QColor& color) {
    background_ = color;
    update();
}

QList<MessageLabel::Line> MessageLabel::LayOut(const QString& text, const QFont& font, int width) {
    static const QRegularExpression kBreak(u"\r\n|\r|\n"_s);
    QList<Line> lines;
    qreal y = 0;
    const QStringList paragraphs = text.split(kBreak);
    for (const QString& paragraph : paragraphs) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        bool any = false;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(qMax(1, width));
            lines.append({paragraph.mid(line.textStart(), line.textLength()), y});
            y += line.height();
            any = true;
        }
        layout.endLayout();
        if (!any) {
            // An empty paragraph still takes a line.
            lines.append({QString(), y});
            y += QFontMetricsF(font).height();
        }
    }
    return lines;
}

QStringList MessageLabel::VisibleLines() const {
    QStringList out;
    if (text_.isEmpty()) return out;
    for (const Line& line : LayOut(text_, font(), width()))
        if (line.top < height()) out.append(line.text);
    return out;
}

void MessageLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    if (text_.isEmpty()) return;
    painter.setClipRect(rect());
    painter.setPen(Qt::black);
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    for (const Line& line : LayOut(text_, font(), width())) {
        if (line.top >= height()) break;
        painter.drawText(QPointF(0, line.top + metrics.ascent()), line.text);
    }
}

} // namespace orvanel
