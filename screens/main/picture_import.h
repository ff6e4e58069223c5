#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "logic/folder_browser.h"

class MainScreen;
class QComboBox;
class QListWidget;
class QPushButton;
class QThreadPool;

// The picture import panel fraPicget, opened by a click on the main picture
// (or Return on it): a drive, folder and file browser, or the file dialog,
// whose chosen file is previewed in the main picture and copied into the
// working folder under the shown title's name. A picture file dropped on the
// main picture is taken in the same way.
class PictureImport : public QObject {
    Q_OBJECT
public:
    explicit PictureImport(MainScreen& screen);

    // Where the drive list's places come from (the mounted volumes, the root
    // and the home folder unless given otherwise).
    void SetVolumeSource(std::function<std::vector<logic::Volume>()> source);
    // The folder the folder list stands on.
    const QString& FolderPath() const { return folder_; }

    void imgGazou_Click();
    void drvZukei_Moto_Change(int index);
    void dirZukei_Moto_Change(const QString& path);
    void filZukei_Moto_Click();
    void cmdFileCopy_Click();
    void cmdYame_Click();
    void cmdPicBrowse_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void FillDrives();
    bool ShowFolder(const QString& path);
    void RefreshFiles();
    void DeviceNotReady();
    // Shows the picture file in the main picture.
    void Preview(const QString& path);
    // Copies the picture file in for the title on show, after
    // the checks and the overwrite question; true when it was taken in.
    bool TakeIn(const QString& sourcePath);
    // The one picture file a drag from a file manager carries, or nothing.
    static QString DroppedPicture(const QEvent* event);
    // The desktop's thumbnail of a picture just taken in, written by a thread
    // of the panel's own.
    void WriteThumbnail(const QString& path);

    MainScreen& s;
    std::function<std::vector<logic::Volume>()> volumeSource_;
    std::vector<logic::Volume> volumes_;
    QString root_;    // the chosen place
    QString folder_;  // the folder list's path
    bool placed_ = false;
    QComboBox* drvZukei_Moto = nullptr;
    QListWidget* dirZukei_Moto = nullptr;
    QListWidget* filZukei_Moto = nullptr;
    QPushButton* cmdFileCopy = nullptr;
    QPushButton* cmdYame = nullptr;
    QPushButton* cmdPicBrowse = nullptr;
    QThreadPool* thumbnailer_;
};
