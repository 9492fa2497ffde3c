#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QWidget>

namespace orvanel {

// The balloons' message label lblMsg: shows the text it is given, wrapped at its width
// (between words, or anywhere in a word too long for a line), a new line at every CR LF, CR
// or LF. It shows whole lines only: when more follows than fits, the last line's place shows
// a mark instead, and NextPage (a click on the balloon) turns to the lines after. It never
// scrolls by itself; a new text that does not go on from the old one starts at the top.
class MessageLabel : public QWidget {
    Q_OBJECT
public:
    explicit MessageLabel(QWidget* parent = nullptr);

    void SetText(const QString& text);
    const QString& Text() const { return text_; }
    void SetBackground(const QColor& color);

    // The lines as laid out for `width`, each with the y of its top, in pixels.
    struct Line {
        QString text;
        qreal top;
        qreal height;
    };
    static QList<Line> LayOut(const QString& text, const QFont& font, int width);
    // The lines shown now, whole, and whether more follow below them.
    QStringList VisibleLines() const;
    bool MoreFollows() const;
    // Turns to the lines after those shown; false when none follow.
    bool NextPage();

    // "ＭＳ Ｐゴシック", or the installed Japanese font that stands in for it; 12 px
    // (9 pt at 96 dpi), or 16 px bold with the Bold setting.
    static QFont BalloonFont(bool bold);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The first line shown and how many fit (with the mark when more follow).
    struct Page {
        QList<Line> lines;
        qsizetype first = 0;
        qsizetype count = 0;
        bool more = false;
    };
    Page CurrentPage() const;

    QString text_;
    qsizetype firstLine_ = 0;
    QColor background_ = Qt::white;
};

} // namespace orvanel
