#pragma once

#include "app/views.h"
#include "platform/clock.h"

#include <QMap>
#include <QStringList>

// Recording stand-ins for the windows. Every call that changes something is appended to a
// shared journal ("main.Show", "fellow.Hide", "kanami.ShowSurface 5 hold") so tests can check
// the order of effects.
namespace orvanel::fakes {

class FakeBalloon : public MainBalloonView {
public:
    FakeBalloon(QString name, QStringList& journal) : name_(std::move(name)), journal_(journal) {}

    void Show() override {
        visible = true;
        Note(QStringLiteral("Show"));
    }
    void Hide() override {
        visible = false;
        Note(QStringLiteral("Hide"));
    }
    bool IsVisible() const override { return visible; }
    void BringToFront() override { Note(QStringLiteral("BringToFront")); }
    void SetTopmost(bool on) override {
        topmost = on;
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
        message = text;
        messages.append(text);
    }
    QString Message() const override { return message; }

    void SetWaitMarkerVisible(bool on) override {
        marker = on;
        markerTimes.append({clock ? clock->TickCount() : 0u, on});
    }
    void SetPanelVisible(BalloonPanel panel, bool on) override {
        panels[panel] = on;
        Note(QStringLiteral("Panel %1 %2").arg(int(panel)).arg(on));
    }
    bool IsPanelVisible(BalloonPanel panel) const override { return panels.value(panel); }
    void ResetPanelButtons(BalloonPanel panel) override {
        Note(QStringLiteral("ResetButtons %1").arg(int(panel)));
    }
    void MoveChoicePanel(int left, int top) override { choicePos = {left, top}; }
    void SetChoiceWords(const QString& yes, const QString& no) override { choiceWords = {yes, no}; }
    void SetTeachPrompt(const QString& text) override { teachPrompt = text; }
    void SetTeachExample(const QString& text) override { teachExample = text; }
    QString InputText() const override { return input; }
    void SetInputText(const QString& text) override { input = text; }
    void FocusInput() override { Note(QStringLiteral("FocusInput")); }

    bool visible = false;
    bool topmost = false;
    QString message;
    QStringList messages; // every label text, in order
    bool marker = false;
    QList<std::pair<quint32, bool>> markerTimes;
    QMap<BalloonPanel, bool> panels;
    std::pair<int, int> choicePos{0, 0};
    QStringList choiceWords;
    QString teachPrompt, teachExample, input;
    const Clock* clock = nullptr;

private:
    void Note(const QString& what) { journal_.append(name_ + u'.' + what); }
    QString name_;
    QStringList& journal_;
};

class FakeCharacter : public CharacterView {
public:
    explicit FakeCharacter(QStringList& journal) : journal_(journal) {}
    bool IsVisible() const override { return visible; }
    void ShowSurface(int n, bool hold) override {
        surfaces.append(n);
        journal_.append(
            QStringLiteral("kanami.ShowSurface %1 %2").arg(n).arg(hold ? "hold" : "free"));
    }
    bool FellowPresent() const override { return fellow; }
    void SetTopmost(bool on) override {
        topmost = on;
        journal_.append(on ? QStringLiteral("kanami.Topmost")
                           : QStringLiteral("kanami.NotTopmost"));
    }
    void BringToForeground() override { journal_.append(QStringLiteral("kanami.Foreground")); }
    void SetEnabled(bool on) override { enabled = on; }

    bool visible = true;
    bool fellow = true;
    bool topmost = false;
    bool enabled = true;
    QList<int> surfaces;

private:
    QStringList& journal_;
};

} // namespace orvanel::fakes
