#pragma once

#include "app/launcher_tools.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace orvanel {

class TraceLog;

// frmSL, "System Launch for TOMU": one button per tool of LauncherTools(). While the pointer
// is on a button she explains the tool, once until the pointer touches the window's background
// again; a click starts the tool and closes the launcher. Tools that are not installed are
// greyed out when the window opens; one that fails to start later makes her say so.
class SystemLauncherWindow : public QWidget {
    Q_OBJECT
public:
    // Starts a program (the system actions' StartProgram); false when it did not start.
    using Start = std::function<bool(const QString& program, const QStringList& arguments)>;
    // `play` hands a script to the player.
    SystemLauncherWindow(TraceLog& log, Start start, std::function<void(const QString&)> play,
                         QWidget* parent = nullptr);
    ~SystemLauncherWindow() override;

    QPushButton* Button(int row) const { return buttons_[row].button; }
    // Label1: a click closes the window.
    QLabel* CloseLabel() const { return close_; }
    // Set after an explanation, cleared by the pointer on the background.
    bool Explained() const { return explained_; }
    // Starts the tool of `row` as its button does.
    void Launch(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct Row {
        QPushButton* button;
        std::optional<ToolCommand> command;
    };

    TraceLog& log_;
    Start start_;
    std::function<void(const QString&)> play_;
    QList<Row> buttons_;
    QLabel* close_;
    bool explained_ = false;
};

} // namespace orvanel
