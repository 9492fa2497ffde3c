#pragma once

#include "character/shape_views.h"

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;

namespace orvanel {

class AppContext;

// frmSplash: the program's name and version while it starts.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow(AppContext& ctx, const QString& versionText, QWidget* parent = nullptr);
    ~SplashWindow() override;
    QLabel* VersionLabel() const { return version_; }

private:
    AppContext& ctx_;
    QLabel* version_;
};

// Form9: "しばらくお待ちください。" with a progress bar while an outline is built. Opening it
// unloads the splash (through `unloadSplash`).
class RegionProgressWindow : public QWidget, public RegionProgress {
    Q_OBJECT
public:
    RegionProgressWindow(AppContext& ctx, std::function<void()> unloadSplash,
                         QWidget* parent = nullptr);

    void Open() override;
    void SetCaption(const QString& caption) override;
    void SetMaximum(int maximum) override;
    void SetValue(int value) override;
    void Close() override;

    QProgressBar* Bar() const { return bar_; }

private:
    AppContext& ctx_;
    std::function<void()> unloadSplash_;
    QProgressBar* bar_;
    bool open_ = false;
};

} // namespace orvanel
