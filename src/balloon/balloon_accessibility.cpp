#include "balloon/balloon_accessibility.h"

#include "balloon/message_label.h"
#include "balloon/panel_widgets.h"

#include <QAccessibleWidget>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// lblMsg: a static text whose name is what the balloon says, readable through the text
// interface. Nothing can be selected or typed.
class MessageAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit MessageAccessible(MessageLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return Label()->Text();
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        const QString& all = Label()->Text();
        start = qBound(0, start, int(all.size()));
        end = end < 0 ? int(all.size()) : qBound(start, end, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(Label()->Text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    MessageLabel* Label() const { return static_cast<MessageLabel*>(widget()); }
};

// A label that acts as a button: named by its caption, pressed like a click.
class PanelButtonAccessible final : public QAccessibleWidget {
public:
    explicit PanelButtonAccessible(PanelLabel* label)
        : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return Label()->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) Label()->Press();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    PanelLabel* Label() const { return static_cast<PanelLabel*>(widget()); }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* label = qobject_cast<MessageLabel*>(object)) return new MessageAccessible(label);
    if (auto* label = qobject_cast<PanelLabel*>(object); label && label->ActsAsButton())
        return new PanelButtonAccessible(label);
    return nullptr;
}

} // namespace

void InstallBalloonAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace orvanel
