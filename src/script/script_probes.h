#pragma once

#include <QString>

namespace orvanel {

class MachineProbes;

// What script variables read from the skin and from the machine.
class ScriptProbes {
public:
    virtual ~ScriptProbes() = default;
    // The skin's [Name] values: HSelfName ("%selfcall"), HCallName ("%selfname"), FCallName
    // ("%keroname").
    virtual QString SelfCall() const = 0;
    virtual QString SelfName() const = 0;
    virtual QString FellowName() const = 0;
    // The screen size in twips.
    virtual qint64 ScreenWidthTwips() const = 0;
    virtual qint64 ScreenHeightTwips() const = 0;
    // Free physical memory in bytes.
    virtual quint64 FreeMemoryBytes() const = 0;
    // Milliseconds since the machine started.
    virtual quint64 SystemUptimeMs() const = 0;
};

// The skin names as last set, the screen as last set, and the machine figures read live from
// the machine at each call. The windows set names and screen when they know them.
class SystemScriptProbes : public ScriptProbes {
public:
    explicit SystemScriptProbes(MachineProbes& machine) : machine_(machine) {}

    struct SkinNames {
        QString selfCall = QStringLiteral("わたし");
        QString selfName;
        QString fellowName;
    };

    void SetSkinNames(SkinNames names) { names_ = std::move(names); }
    void SetScreenTwips(qint64 width, qint64 height) {
        width_ = width;
        height_ = height;
    }

    QString SelfCall() const override { return names_.selfCall; }
    QString SelfName() const override { return names_.selfName; }
    QString FellowName() const override { return names_.fellowName; }
    qint64 ScreenWidthTwips() const override { return width_; }
    qint64 ScreenHeightTwips() const override { return height_; }
    quint64 FreeMemoryBytes() const override;
    quint64 SystemUptimeMs() const override;

private:
    MachineProbes& machine_;
    SkinNames names_;
    qint64 width_ = 0;
    qint64 height_ = 0;
};

} // namespace orvanel
