#pragma once

#include "engine/headless_views.h"
#include "platform/clock.h"

#include <QStringList>

// Recording stand-ins for the windows. Every call that changes something is appended to a
// shared journal ("main.Show", "fellow.Hide", "kanami.ShowSurface 5 hold") so tests can check
// the order of effects.
namespace orvanel::fakes {

class FakeBalloon : public HeadlessBalloon {
public:
    FakeBalloon(QString name, QStringList& journal) : name_(std::move(name)), journal_(journal) {}

    void Show() override {
        HeadlessBalloon::Show();
        Note(QStringLiteral("Show"));
    }
    void Hide() override {
        HeadlessBalloon::Hide();
        Note(QStringLiteral("Hide"));
    }
    void BringToFront() override { Note(QStringLiteral("BringToFront")); }
    void SetTopmost(bool on) override {
        HeadlessBalloon::SetTopmost(on);
        Note(on ? QStringLiteral("Topmost") : QStringLiteral("NotTopmost"));
    }
    quint64 Activate() override {
        Note(QStringLiteral("Activate"));
        return 42;
    }
    void RestoreActivation(quint64 token) override {
        Note(QStringLiteral("RestoreActivation %1").arg(token));
    }
    void SetMessage(const QString& text) override {
        HeadlessBalloon::SetMessage(text);
        messages.append(text);
    }
    void AppendMessage(QStringView more) override {
        HeadlessBalloon::AppendMessage(more);
        messages.append(message);
    }
    void SetWaitMarkerVisible(bool on) override {
        HeadlessBalloon::SetWaitMarkerVisible(on);
        markerTimes.append({clock ? clock->TickCount() : 0u, on});
    }
    void SetPanelVisible(BalloonPanel panel, bool on) override {
        HeadlessBalloon::SetPanelVisible(panel, on);
        Note(QStringLiteral("Panel %1 %2").arg(int(panel)).arg(on));
    }
    void ResetPanelButtons(BalloonPanel panel) override {
        Note(QStringLiteral("ResetButtons %1").arg(int(panel)));
    }
    void FocusInput() override { Note(QStringLiteral("FocusInput")); }

    QStringList messages; // every label text, in order
    QList<std::pair<quint32, bool>> markerTimes;
    const Clock* clock = nullptr;

private:
    void Note(const QString& what) { journal_.append(name_ + u'.' + what); }
    QString name_;
    QStringList& journal_;
};

class FakeCharacter : public HeadlessCharacter {
public:
    explicit FakeCharacter(QStringList& journal) : journal_(journal) {}
    void ShowSurface(int n, bool hold) override {
        HeadlessCharacter::ShowSurface(n, hold);
        journal_.append(
            QStringLiteral("kanami.ShowSurface %1 %2").arg(n).arg(hold ? "hold" : "free"));
    }
    void SetTopmost(bool on) override {
        HeadlessCharacter::SetTopmost(on);
        journal_.append(on ? QStringLiteral("kanami.Topmost")
                           : QStringLiteral("kanami.NotTopmost"));
    }
    void BringToForeground() override { journal_.append(QStringLiteral("kanami.Foreground")); }

private:
    QStringList& journal_;
};

} // namespace orvanel::fakes
