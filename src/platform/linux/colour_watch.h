#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>

class QDBusMessage;

namespace orvanel {

// The desktop's colours changing: the application palette that the platform theme hands to
// Qt, and the colour scheme of the desktop portal's appearance settings. One change reaches
// the program through both ways at times, so notices within a second count once.
class ColourWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kMergeMs = 1000;

    // `sessionBus` may be disconnected: then the palette alone is watched.
    explicit ColourWatch(QDBusConnection sessionBus, QObject* parent = nullptr);

Q_SIGNALS:
    void ColoursChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    // A QDBusMessage slot: QtDBus would refuse a QDBusVariant parameter now and then, when
    // it connects before its own types are registered.
    void PortalSettingChanged(const QDBusMessage& message);

private:
    void Changed();

    QElapsedTimer sinceLast_;
};

} // namespace orvanel
