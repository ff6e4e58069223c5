#pragma once

#include <QCache>
#include <QImage>
#include <QString>
#include <array>
#include <atomic>
#include <future>
#include <memory>

#include "window/screen.h"

class PictureBox;
class QLabel;
class QPushButton;
class QThreadPool;

// The picture gallery fraPic: the titles' pictures twenty at a time in
// catalogue order, each with its name; a click on one shows that title. From
// the keyboard the arrows move between the slots, Return shows the title and
// PageUp / PageDown turn the page.
class GalleryScreen : public Screen {
    Q_OBJECT
public:
    explicit GalleryScreen(frmMain& window);
    ~GalleryScreen() override;

    // The page shown and the number of pages when the gallery was built.
    int GalleryPage = 1;
    int GalleryPageCount = 0;

    void cmdPic_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void imgPIc_Click(int index);
    void lblName_Click(int index) { imgPIc_Click(index); }

protected:
    // Builds the gallery afresh on page 1.
    void Fill() override;
    QString HelpText() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void ShowPageNumbers(int page);
    void ClearSlots();
    void FillSlots(int page);
    void FillPage(int page);
    // A slot's picture from the title's picture files: as it was when decoded
    // before from the very same files, else taken from the desktop's
    // thumbnails or decoded by the pool's threads, which write the thumbnail.
    // `now` is the window's clock, `fileClock` the system's, which stamps the
    // files. `toKeep` is set to the key under which to keep a new decoding.
    std::future<QImage> StartPicture(const QStringList& candidates, const QString& cacheFolder,
                                     qint64 now, qint64 fileClock, const QSize& box,
                                     const std::shared_ptr<std::atomic<bool>>& cancelled,
                                     QString& toKeep);

    // The keys of a slot with the focus; true when taken.
    bool SlotKey(int k, int key);
    void FocusSlot(int k);

    std::array<PictureBox*, 21> imgPIc{};  // 1..20
    std::array<QLabel*, 21> lblName{};     // 1..20
    std::array<QLabel*, 3> lblPicKan{};
    QPushButton* cmdDown = nullptr;
    QPushButton* cmdUp = nullptr;
    // Each fill is numbered; a fill started while another lets pending events
    // run (a page button pressed meanwhile) stops the older one.
    int fillNumber_ = 0;
    // Set to drop the decoding still queued for a page no longer filled.
    std::shared_ptr<std::atomic<bool>> cancelDecoding_;
    // The gallery's own decoding threads: Qt paints large images with the
    // global pool's threads, and a paint waiting behind a page of decoding
    // would hold the screen still until the whole page is decoded.
    QThreadPool* decoders_;
    // Pictures decoded for earlier fills, under the files they came from
    // (paths and stamps); what it holds is counted in bytes.
    QCache<QString, QImage> decoded_;
};
