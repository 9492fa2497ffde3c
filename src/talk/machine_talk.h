#pragma once

#include "platform/machine_probes.h"

#include <QString>

#include <functional>

namespace orvanel {

class Questions;
struct TalkContext;

// Talk about the machine itself: memory, uptime, battery, drives, the system's names, and a
// little housekeeping (the recent documents, the trash). Every topic reads the live system
// through the machine probes and returns a complete script.
class MachineTalk {
public:
    static constexpr int kTopicCount = 16;

    MachineTalk(TalkContext& talk, Questions& questions);

    // One of the 16 topics, equally likely.
    QString SystemInfoTalk();
    // Topic k (1..16); "" for any other number.
    QString Topic(int k);

    QString MemoryTalk();
    QString MachineUptimeTalk();
    QString BatteryTalk();
    QString DiskSpaceTalk();
    QString DriveTalk();

    // Topic 9 is the window watcher's talk about the programs it knows (set by the Engine).
    std::function<QString()> knownSoftwareTalk;

private:
    TalkContext& talk_;
    Questions& questions_;
};

// "1023バイト", "1.5KB", "12MB", ... each step divides by 1024 and keeps two decimals, halves
// going to the even digit. Beyond the gigabytes: terabytes, and "" from 1024 TB on.
QString SizeText(quint64 bytes);
// "HDD", "CD", "NET", ... of a drive type.
QString DriveTypeName(DriveType type);
// "h時間m分s秒" of a time in milliseconds, rounded to the nearest second.
QString MachineUptimeText(quint64 ms);
// The remark on a memory load of 0..100 percent.
QString MemoryRemark(int loadPercent);
// The name of an Internet Explorer build; "" for any other text.
QString IEVersionName(const QString& version);
// "1,234,567" (thousands separated by commas); "" for 0.
QString GroupedNumber(quint64 n);

// Empties the user's trash (the real system actions ask the user first) and says how it went.
void EmptyRecycleBin(TalkContext& talk);

} // namespace orvanel
