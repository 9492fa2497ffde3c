#pragma once

#include <QWidget>

#include <functional>

class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;

namespace orvanel {

class AppContext;

// frmSelSkin, "スキン選択 - Orvanel": the skin files of the program folder and the facts of
// the one clicked. A double click says goodbye and asks the main timer for the skin change.
class SkinSelectWindow : public QWidget {
    Q_OBJECT
public:
    // `farewell` is a word of "終了時" for the leaving talk; `play` hands a script on.
    SkinSelectWindow(AppContext& ctx, std::function<QString()> farewell,
                     std::function<void(const QString&)> play, QWidget* parent = nullptr);
    ~SkinSelectWindow() override;

    // Lists the "*.skn" files of the program folder again (a skin was just unpacked).
    void Refresh();
    // The skins by their [Info] Name; each item's file name is FileOf(item).
    QListWidget* Files() const { return files_; }
    static QString FileOf(const QListWidgetItem* item);
    QPlainTextEdit* Info() const { return info_; }

    // "名前：" ... for a skin's name, author and address.
    static QString InfoText(const QString& name, const QString& author, const QString& url);

    void ShowInfoOf(const QString& fileName);
    void Choose(const QString& fileName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& ctx_;
    std::function<QString()> farewell_;
    std::function<void(const QString&)> play_;
    QListWidget* files_;
    QPlainTextEdit* info_;
};

} // namespace orvanel
