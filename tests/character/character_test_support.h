#pragma once

// A program folder of its own and a recording stand-in for the windows, for the character
// layer's tests.
#include "character/shape_views.h"
#include "core/app_context.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "platform/text_file.h"
#include "tools/trace_log.h"

#include <QDir>
#include <QTemporaryDir>

namespace orvanel::test {

using namespace Qt::StringLiterals;

inline const QString kData = u"" ORVANEL_TEST_DATA "/"_s;

struct TestContext {
    // A temporary program folder unless another (read only) is given.
    explicit TestContext(const QString& folder = {})
        : ctx{clock, random, ini, folder.isEmpty() ? dir.path() : folder, log, actions} {}
    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedRandom random;
    IniStore ini;
    TraceLog log{clock};
    LoggingSystemActions actions{[](const QString&) {}};
    AppContext ctx;

    QString Path(const QString& relative) const { return dir.filePath(relative); }
    // Writes a UTF-8 text as the CP932 file it stands for.
    bool WriteText(const QString& relative, const QString& text) const {
        return WriteCp932File(Path(relative), text);
    }
    bool CopyIn(const QString& fixture, const QString& relative) const {
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        QFile::remove(Path(relative));
        return QFile::copy(kData + fixture, Path(relative));
    }
};

// Every call of the window, the progress window and the message boxes, in order.
struct RecordingWindow final : ShapedWindow, RegionProgress, UserMessages {
    QStringList calls, shown;
    RegionData shape;
    bool refuseShape = false;

    void ShowPicture(const QImage& p, QPoint o) override {
        calls << u"picture %1x%2 at %3,%4"_s.arg(p.width()).arg(p.height()).arg(o.x()).arg(o.y());
    }
    void ResizeWindow(QSize s) override {
        calls << u"resize %1x%2"_s.arg(s.width()).arg(s.height());
    }
    void SetInputEnabled(bool on) override { calls << (on ? u"enable"_s : u"disable"_s); }
    bool ApplyShape(const RegionData& s) override {
        calls << u"shape %1"_s.arg(s.rects.size());
        if (!refuseShape) shape = s;
        return !refuseShape;
    }
    void Open() override { calls << u"open"_s; }
    void SetCaption(const QString& c) override { calls << c; }
    void SetMaximum(int m) override { calls << u"max %1"_s.arg(m); }
    void SetValue(int) override {}
    void Close() override { calls << u"close"_s; }
    void ShowMessage(const QString& text) override { shown << text; }
};

} // namespace orvanel::test
