#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace orvanel {

class CharacterDrag;
class TraceLog;

// frmLog: the trace log as one text (txtSubMsg) that fills the window. Shown, it holds what
// the log keeps and follows every new line; a double click on the text hides it and a drag on
// the text moves the window. It stays loaded, hidden, until the program ends.
class LogWindow : public QWidget {
    Q_OBJECT
public:
    explicit LogWindow(TraceLog& log, QWidget* parent = nullptr);
    ~LogWindow() override;

    QPlainTextEdit* Text() const { return text_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Append(const QString& piece);
    void Reload();

    TraceLog& log_;
    QPlainTextEdit* text_;
    CharacterDrag* drag_;
    bool stale_ = true; // lines came while hidden
};

} // namespace orvanel
