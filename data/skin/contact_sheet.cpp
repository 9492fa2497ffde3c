// Draws every picture of a skin over the outline the character layer computes for it, so the
// art and the window shapes can be judged at once:
//   orvanel-contact-sheet PROGRAM_FOLDER OUT.png
// Each cell shows the picture as its window would (cut to its outline, surfaces one pixel up
// and left as the character window shows them) over a checkerboard, the outline tinted and
// traced, and under it the rectangle count and cache size. Surface 1 also shows the hit areas.
#include "character/character_surfaces.h"
#include "character/hit_areas.h"
#include "character/picture_file.h"
#include "character/region_cache.h"
#include "character/region_scanner.h"
#include "character/skin.h"
#include "core/app_context.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "tools/trace_log.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

using namespace Qt::StringLiterals;

using namespace orvanel;

namespace {

struct Entry {
    QString title;
    QImage picture;
    QPoint offset;
    bool hitAreas = false;
};

struct NoMessages final : UserMessages {
    void ShowMessage(const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
};

constexpr int kPad = 16;
constexpr int kCaption = 34;

void DrawCell(QPainter& p, const QRect& cell, const Entry& e, const HitAreas& areas) {
    // A checkerboard shows what the outline leaves open.
    for (int y = cell.top(); y < cell.bottom(); y += 8)
        for (int x = cell.left(); x < cell.right(); x += 8)
            p.fillRect(QRect(x, y, 8, 8).intersected(cell),
                       ((x - cell.left()) / 8 + (y - cell.top()) / 8) % 2 ? QColor(214, 219, 226)
                                                                          : QColor(236, 239, 243));
    const RegionData region = ScanRegion(e.picture);
    const QPoint origin = cell.topLeft() + QPoint(kPad, kPad);
    const QRegion shape = region.ToQRegion().translated(origin);
    p.save();
    p.setClipRegion(shape);
    p.fillRect(shape.boundingRect(), QColor(255, 0, 170, 70)); // shows through transparent art
    p.drawImage(origin + e.offset, e.picture);
    p.restore();
    QPainterPath outline;
    outline.addRegion(shape);
    p.setPen(QPen(QColor(255, 0, 170), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline.simplified());
    if (e.hitAreas) {
        p.setPen(QPen(QColor(0, 160, 90), 1));
        for (int a = 0; a < kHitAreaCount; ++a)
            p.drawRect(
                areas.Pixels(HitArea(a)).translated(origin + e.offset).adjusted(0, 0, -1, -1));
    }
    p.setPen(QColor(40, 44, 52));
    const QRect caption(cell.left(), cell.bottom() - kCaption, cell.width(), kCaption);
    p.drawText(caption, Qt::AlignHCenter | Qt::AlignTop,
               u"%1  %2x%3\n%4 rects, %5 bytes%6"_s.arg(e.title)
                   .arg(e.picture.width())
                   .arg(e.picture.height())
                   .arg(region.rects.size())
                   .arg(region.DataSize())
                   .arg(region.DataSize() >= kRegionDataLimit ? u" (too large)"_s : QString()));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: orvanel-contact-sheet PROGRAM_FOLDER OUT.png\n");
        return 2;
    }
    VirtualClock clock;
    SystemRandom random;
    IniStore ini;
    TraceLog log(clock);
    LoggingSystemActions actions([](const QString&) {});
    AppContext ctx(clock, random, ini, args[1], log, actions);
    LoadUserInfo(ctx.settings, ctx.profile, log);
    NoMessages messages;
    if (LoadSurfaceList(ctx, messages) == Outcome::EndProgram) return 1;
    LoadSkinInfo(ctx);
    CheckFellowPresent(ctx);
    const HitAreas areas = PlaceHitAreas(ctx);

    QList<Entry> entries;
    auto add = [&](const QString& title, const QString& relative, QPoint offset, bool hits) {
        Entry e{title, {}, offset, hits};
        if (LoadPictureFile(e.picture, FullPicturePath(ctx, relative)))
            entries.append(e);
        else
            std::fprintf(stderr, "cannot read %s\n", qPrintable(relative));
    };
    for (int n = 1; n <= 7; ++n)
        add(u"surface %1"_s.arg(n), SurfacePath(ctx.skin, n), CharacterSurfaces::kPictureOffset,
            n == 1);
    if (ctx.skin.fellowPresent) add(u"fellow"_s, ctx.skin.fellowPicture, {}, false);
    add(u"balloon 0"_s, ctx.skin.balloons[0].picture, {}, false);
    add(u"balloon 1"_s, ctx.skin.balloons[1].picture, {}, false);
    if (entries.isEmpty()) return 1;

    // Characters on the first row, the fellow and the balloons on the second.
    constexpr int kPerRow = 7;
    QList<QList<QRect>> rows;
    int width = 0, height = 0;
    for (qsizetype i = 0; i < entries.size(); i += kPerRow) {
        QList<QRect> row;
        int x = 0, rowHeight = 0;
        for (qsizetype k = i; k < qMin(i + kPerRow, entries.size()); ++k) {
            const QSize s = entries[k].picture.size() + QSize(2 * kPad, 2 * kPad + kCaption);
            row.append(QRect(QPoint(x, height), s));
            x += s.width();
            rowHeight = qMax(rowHeight, s.height());
        }
        for (QRect& r : row)
            r.setHeight(rowHeight);
        rows.append(row);
        width = qMax(width, x);
        height += rowHeight;
    }
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(250, 250, 252));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (qsizetype c = 0; c < rows[r].size(); ++c)
            DrawCell(p, rows[r][c], entries[r * kPerRow + c], areas);
    p.end();
    if (!sheet.save(args[2])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    std::printf("%s\n", qPrintable(args[2]));
    return 0;
}
