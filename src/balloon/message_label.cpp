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
    if (!text.startsWith(old)) firstLine_ = 0;
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
            lines.append({paragraph.mid(line.textStart(), line.textLength()), y, line.height()});
            y += line.height();
            any = true;
        }
        layout.endLayout();
        if (!any) {
            // An empty paragraph still takes a line.
            const qreal height = QFontMetricsF(font).height();
            lines.append({QString(), y, height});
            y += height;
        }
    }
    return lines;
}

MessageLabel::Page MessageLabel::CurrentPage() const {
    Page page;
    if (text_.isEmpty()) return page;
    page.lines = LayOut(text_, font(), width());
    page.first = qMin(firstLine_, page.lines.size() - 1);
    const qreal top = page.lines[page.first].top;
    qsizetype end = page.first;
    while (end < page.lines.size() &&
           page.lines[end].top - top + page.lines[end].height <= height() + 0.5)
        ++end;
    // At least one line, however low the label.
    end = qMax(end, page.first + 1);
    page.more = end < page.lines.size();
    // The mark takes the place of the last line that fits.
    if (page.more && end - page.first > 1) --end;
    page.count = end - page.first;
    return page;
}

QStringList MessageLabel::VisibleLines() const {
    const Page page = CurrentPage();
    QStringList out;
    for (qsizetype i = page.first; i < page.first + page.count; ++i)
        out.append(page.lines[i].text);
    return out;
}

bool MessageLabel::MoreFollows() const {
    return CurrentPage().more;
}

bool MessageLabel::NextPage() {
    const Page page = CurrentPage();
    if (!page.more) return false;
    firstLine_ = page.first + page.count;
    update();
    return true;
}

void MessageLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    const Page page = CurrentPage();
    if (page.count == 0) return;
    painter.setClipRect(rect());
    painter.setPen(Qt::black);
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    const qreal top = page.lines[page.first].top;
    qreal bottom = 0;
    for (qsizetype i = page.first; i < page.first + page.count; ++i) {
        const Line& line = page.lines[i];
        painter.drawText(QPointF(0, line.top - top + metrics.ascent()), line.text);
        bottom = line.top - top + line.height;
    }
    if (page.more) {
        // More follows: a click shows it.
        painter.setPen(Qt::gray);
        painter.drawText(QRectF(0, bottom, width(), metrics.height()), Qt::AlignHCenter, u"▽"_s);
    }
}

} // namespace orvanel
