#pragma once

// A program folder of its own and recording stand-ins for the windows, for the character
// layer's tests.
#include "app/app_context.h"
#include "character/shape_views.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "platform/text_file.h"
#include "tools/trace_log.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace orvanel::test {

struct TestContext {
    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedRandom random;
    IniStore ini;
    TraceLog log{clock};
    LoggingSystemActions actions{[](const QString&) {}};
    AppContext ctx{clock, random, ini, dir.path(), log, actions};

    QString Path(const QString& relative) const { return dir.filePath(relative); }
    // Writes a UTF-8 text as the CP932 file it stands for.
    bool WriteText(const QString& relative, const QString& text) const {
        return WriteCp932File(Path(relative), text);
    }
    bool CopyIn(const QString& from, const QString& relative) const {
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        QFile::remove(Path(relative));
        return QFile::copy(from, Path(relative));
    }
};

// Records every call as a line, so tests can compare the order of what happened.
struct RecordingWindow final : ShapedWindow {
    QStringList calls;
    QImage picture;
    QPoint offset;
    RegionData shape;
    bool enabled = true;
    bool refuseShape = false;

    void ShowPicture(const QImage& p, QPoint o) override {
        picture = p;
        offset = o;
        calls << QStringLiteral("picture %1x%2").arg(p.width()).arg(p.height());
    }
    void ResizeWindow(QSize size) override {
        calls << QStringLiteral("resize %1x%2").arg(size.width()).arg(size.height());
    }
    void SetInputEnabled(bool on) override {
        enabled = on;
        calls << (on ? QStringLiteral("enable") : QStringLiteral("disable"));
    }
    bool ApplyShape(const RegionData& s) override {
        calls << QStringLiteral("shape %1").arg(s.rects.size());
        if (refuseShape) return false;
        shape = s;
        return true;
    }
};

struct RecordingProgress final : RegionProgress {
    QStringList calls;
    QList<int> values;
    void Open() override { calls << QStringLiteral("open"); }
    void SetCaption(const QString& c) override { calls << c; }
    void SetMaximum(int m) override { calls << QStringLiteral("max %1").arg(m); }
    void SetValue(int v) override { values << v; }
    void Close() override { calls << QStringLiteral("close"); }
};

struct RecordingMessages final : UserMessages {
    QStringList shown;
    void ShowMessage(const QString& text) override { shown << text; }
};

} // namespace orvanel::test
