#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QWidget>

namespace orvanel {

// The balloons' message label lblMsg: shows the whole text it is given, wrapped at its width
// (between words, or anywhere in a word too long for a line), a new line at every CR LF, CR
// or LF, and cut off at its height. It never scrolls.
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
    };
    static QList<Line> LayOut(const QString& text, const QFont& font, int width);
    // The lines of which at least a part lies inside the label (the last may be cut).
    QStringList VisibleLines() const;

    // "ＭＳ Ｐゴシック", or the installed Japanese font that stands in for it; 12 px
    // (9 pt at 96 dpi), or 16 px bold with the Bold setting.
    static QFont BalloonFont(bool bold);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor background_ = Qt::white;
};

} // namespace orvanel
