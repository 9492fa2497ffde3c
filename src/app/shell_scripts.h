#pragma once

#include <QDateTime>
#include <QString>

namespace orvanel {

class ShellTalk;
class WordSource;

// The scripts the shell itself plays: the start-up talk, the first-start and update talks,
// the farewell, the greeting after a restore and the fellow's answers to a poke.

// Start-up talk k = 1..8 for the moment `now`. Only what talk k tells is asked of `talk`, so
// the random numbers drawn are those of that talk alone.
QString StartupTalkScript(int k, const QDateTime& now, ShellTalk& talk, WordSource& words);

// Played on the first start (no call name yet).
QString FirstStartScript();

// Played after an update: the phase and the notes of this version.
QString UpdateTalkScript(const QString& version, const QString& phase, const QString& notes);

// The End command's farewell: the run time, then one "終了時" word said by both characters.
QString FarewellScript(const QString& uptime, const QString& farewellWord);

// The greeting k = 1..3 after the character comes back from the notification area; the icon's
// double click shows surface 1 with its second greeting.
QString RestoreGreeting(int k, bool fromIcon, WordSource& words);

// The fellow's answer k = 1..3 to a poke.
QString FellowPokeScript(int k);

} // namespace orvanel
