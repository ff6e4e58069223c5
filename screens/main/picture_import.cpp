#include "screens/main/picture_import.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QThreadPool>

#include "logic/pictures.h"
#include "screens/main/main_screen.h"
#include "screens/thumbnail_cache.h"
#include "store/side_files.h"
#include "store/text_check.h"
#include "window/accessible.h"
#include "window/picture_box.h"

namespace {

// The panel's captions and boxes.
struct Texts {
    QString heading = QStringLiteral("画像取り込み先指定");
    QString copy = QStringLiteral("画像を取り込む");
    QString cancel = QStringLiteral("キャンセル");
    QString browse = QStringLiteral("参照…");
    QString browseTitle = QStringLiteral("画像ファイルを選択");
    QString browseFilter = QStringLiteral("画像ファイル (*.jpg *.jpeg *.png *.gif *.bmp *.webp)");
    QString places = QStringLiteral("ドライブ");
    QString folders = QStringLiteral("フォルダ");
    QString files = QStringLiteral("画像ファイル");
    QString picture = QStringLiteral("タイトルの画像");
    QString pictureTip =
        QStringLiteral("クリック、Enter キーまたは画像ファイルのドロップで画像を取り込みます");
    QString notReady = QStringLiteral("ﾃﾞﾊﾞｲｽが準備されていません");
    QString notReadyTitle = QStringLiteral("ﾃﾞﾊﾞｲｽ未準備");
    QString noFile = QStringLiteral(
        "コピー元ファイルが指定されていません \n\n"
        "先にファイルを選択して下さい ");
    QString noFileTitle = QStringLiteral("ファイル未選択");
    QString overwrite = QStringLiteral("同じ名前の画像が既に存在します。上書きしますか？");
    QString overwriteTitle = QStringLiteral("上書き確認");
    QString badName = QStringLiteral(
        "タイトル名「%1」では作業フォルダの中にファイルを作れないため、画像を取り込めません。");
    QString badNameTitle = QStringLiteral("取り込み不可");
};

const Texts& T() {
    static const Texts texts;
    return texts;
}

constexpr int kPathRole = Qt::UserRole;

// A picture of today's formats as the JPEG it is stored as: its natural size,
// transparent parts on white.
store::Status ConvertedPicture(const QString& sourcePath, QByteArray& jpeg) {
    QImageReader reader(sourcePath);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        return store::StoreError{sourcePath, 0,
                                 QStringLiteral("画像として読み込めません（") +
                                     reader.errorString() + QStringLiteral("）")};
    }
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!flat.save(&buffer, "JPG", logic::kConvertedPictureQuality)) {
        return store::StoreError{sourcePath, 0, QStringLiteral("JPEG に変換できません")};
    }
    return store::Status::ok();
}

std::vector<logic::Volume> SystemVolumes() {
    return logic::PickableVolumes(logic::MountedVolumes(), QDir::homePath());
}

}  // namespace

PictureImport::PictureImport(MainScreen& screen)
    : QObject(&screen),
      s(screen),
      volumeSource_(SystemVolumes),
      thumbnailer_(new QThreadPool(this)) {
    // One thread, so that two imports under one name leave the thumbnail of
    // the later.
    thumbnailer_->setMaxThreadCount(1);
    build();
    s.imgGazou->installEventFilter(this);
    s.imgGazou->setAcceptDrops(true);
    NameControl(s.imgGazou, T().picture);
    s.imgGazou->setToolTip(T().pictureTip);
    connect(drvZukei_Moto, &QComboBox::activated, this,
            [this](int index) { drvZukei_Moto_Change(index); });
    connect(dirZukei_Moto, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        dirZukei_Moto_Change(item->data(kPathRole).toString());
    });
    connect(filZukei_Moto, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) filZukei_Moto_Click();
    });
    connect(cmdFileCopy, &QAbstractButton::clicked, this, [this] { cmdFileCopy_Click(); });
    connect(cmdYame, &QAbstractButton::clicked, this, [this] { cmdYame_Click(); });
    connect(cmdPicBrowse, &QAbstractButton::clicked, this, [this] { cmdPicBrowse_Click(); });
}

void PictureImport::build() {
    QFrame* panel = s.fraPicget;
    auto* heading = new QLabel(T().heading, panel);
    heading->setObjectName("Label1_2");
    heading->setGeometry(10, 6, 384, 22);
    drvZukei_Moto = new QComboBox(panel);
    drvZukei_Moto->setObjectName("drvZukei_Moto");
    drvZukei_Moto->setGeometry(10, 30, 384, 26);
    dirZukei_Moto = new QListWidget(panel);
    dirZukei_Moto->setObjectName("dirZukei_Moto");
    dirZukei_Moto->setGeometry(10, 62, 384, 176);
    filZukei_Moto = new QListWidget(panel);
    filZukei_Moto->setObjectName("filZukei_Moto");
    filZukei_Moto->setGeometry(10, 244, 384, 160);
    cmdFileCopy = new QPushButton(T().copy, panel);
    cmdFileCopy->setObjectName("cmdFileCopy");
    cmdFileCopy->setGeometry(148, 412, 136, 32);
    cmdYame = new QPushButton(T().cancel, panel);
    cmdYame->setObjectName("cmdYame");
    cmdYame->setGeometry(290, 412, 104, 32);
    cmdPicBrowse = new QPushButton(T().browse, panel);
    cmdPicBrowse->setObjectName("cmdPicBrowse");
    cmdPicBrowse->setGeometry(10, 412, 104, 32);
    NameControl(drvZukei_Moto, T().places);
    NameControl(dirZukei_Moto, T().folders);
    NameControl(filZukei_Moto, T().files);
}

bool PictureImport::eventFilter(QObject* watched, QEvent* event) {
    if (watched != s.imgGazou) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                s.imgGazou->rect().contains(mouse->position().toPoint())) {
                imgGazou_Click();
            }
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                imgGazou_Click();
                return true;
            }
            break;
        }
        case QEvent::DragEnter:
            if (!DroppedPicture(event).isEmpty())
                static_cast<QDropEvent*>(event)->acceptProposedAction();
            return true;
        case QEvent::Drop:
            if (const QString path = DroppedPicture(event); !path.isEmpty()) {
                static_cast<QDropEvent*>(event)->acceptProposedAction();
                Preview(path);
                // Refused or not replaced: the title's own picture again.
                if (!TakeIn(path) && !s.fraPicget->isVisible()) s.ShowPicture();
            }
            return true;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

QString PictureImport::DroppedPicture(const QEvent* event) {
    const QMimeData* data = static_cast<const QDropEvent*>(event)->mimeData();
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !logic::IsPictureFileName(url.fileName())) return {};
    return url.toLocalFile();
}

void PictureImport::SetVolumeSource(std::function<std::vector<logic::Volume>()> source) {
    volumeSource_ = std::move(source);
    if (placed_) FillDrives();
}

void PictureImport::FillDrives() {
    volumes_ = volumeSource_();
    const QSignalBlocker block(drvZukei_Moto);
    drvZukei_Moto->clear();
    for (const logic::Volume& v : volumes_) drvZukei_Moto->addItem(v.name, v.root);
    drvZukei_Moto->setCurrentIndex(logic::VolumeHolding(volumes_, folder_));
}

void PictureImport::imgGazou_Click() {
    // The browser first stands on the working folder; the lists are read when
    // they are first needed.
    if (!placed_) {
        placed_ = true;
        // A working folder inside a hidden one (~/.local) starts where the
        // path is still visible.
        folder_ = logic::VisibleFolder(s.w.folder.path());
        FillDrives();
        const int k = drvZukei_Moto->currentIndex();
        root_ = k >= 0 ? volumes_[k].root : folder_;
    }
    // Both lists are read again, so that what was added since is listed.
    ShowFolder(folder_);
    RefreshFiles();
    s.fraPicget->show();
    s.fraPicget->raise();
}

void PictureImport::DeviceNotReady() {
    s.w.platform().MessageBox(T().notReady, T().notReadyTitle, Platform::Icon::Critical);
}

void PictureImport::drvZukei_Moto_Change(int index) {
    if (index < 0 || index >= int(volumes_.size())) return;
    const QString root = volumes_[index].root;
    if (!logic::IsReadableFolder(root)) {
        DeviceNotReady();
        FillDrives();
        return;
    }
    root_ = root;
    dirZukei_Moto_Change(root);
}

void PictureImport::dirZukei_Moto_Change(const QString& path) {
    if (!ShowFolder(path)) {
        DeviceNotReady();
        return;
    }
    RefreshFiles();
}

bool PictureImport::ShowFolder(const QString& path) {
    const auto entries = logic::FolderListing(root_, path);
    if (!entries) return false;
    folder_ = QDir::cleanPath(path);
    dirZukei_Moto->clear();
    QStyle* style = QApplication::style();
    const QIcon open = style->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style->standardIcon(QStyle::SP_DirIcon);
    for (const logic::FolderEntry& e : *entries) {
        auto* item = new QListWidgetItem(e.open ? open : closed,
                                         QString(e.depth * 2, u' ') + e.name, dirZukei_Moto);
        item->setData(kPathRole, e.path);
        if (e.path == folder_) dirZukei_Moto->setCurrentItem(item);
    }
    return true;
}

void PictureImport::RefreshFiles() {
    const QSignalBlocker block(filZukei_Moto);
    filZukei_Moto->clear();
    // A folder gone since it was chosen lists nothing.
    if (const auto names = logic::PictureFiles(folder_)) filZukei_Moto->addItems(*names);
}

void PictureImport::filZukei_Moto_Click() {
    const QListWidgetItem* item = filZukei_Moto->currentItem();
    if (item) Preview(logic::JoinPath(folder_, item->text()));
}

void PictureImport::cmdFileCopy_Click() {
    Platform& p = s.w.platform();
    const QListWidgetItem* item = filZukei_Moto->currentItem();
    if (!item) {
        p.MessageBox(T().noFile, T().noFileTitle, Platform::Icon::Warning);
        return;
    }
    TakeIn(logic::JoinPath(folder_, item->text()));
}

void PictureImport::cmdPicBrowse_Click() {
    const std::optional<QString> path =
        s.w.platform().OpenFileName(T().browseTitle, folder_, T().browseFilter);
    if (!path) return;
    Preview(*path);
    TakeIn(*path);
}

bool PictureImport::TakeIn(const QString& source) {
    Platform& p = s.w.platform();
    const QString fileName = QFileInfo(source).fileName();
    const QString title = s.ShownName();
    // A name typed into the title box and not taken is no title to attach to.
    if (s.w.AcceptTitleName(title) == 0) return false;
    // The picture is named after the title: it must fit in a file name.
    if (const std::optional<QString> tooLong = store::TitleNameTooLong(title)) {
        p.MessageBox(*tooLong, store::InputCheck::warningTitle(), Platform::Icon::Warning);
        return false;
    }
    const QString target = logic::PictureTargetName(title, fileName);
    if (logic::PictureTargetRefused(target)) {
        p.MessageBox(T().badName.arg(title), T().badNameTitle, Platform::Icon::Warning);
        return false;
    }
    if (s.w.folder.exists(target) &&
        p.MessageBox(T().overwrite, T().overwriteTitle, Platform::Icon::Warning,
                     Platform::Buttons::OkCancel) != Platform::Answer::Ok) {
        return false;
    }
    // A failed copy is reported and the panel stays, so the user can try again.
    store::Status stored;
    if (logic::IsConvertedPicture(fileName)) {
        QByteArray jpeg;
        stored = ConvertedPicture(source, jpeg);
        if (stored) stored = s.w.folder.replace(target, jpeg);
    } else {
        stored = logic::CopyPictureIn(s.w.folder, source, target);
    }
    if (!s.w.Report(stored)) return false;
    if (const std::optional<QString> path = s.w.folder.resolve(target)) WriteThumbnail(*path);
    s.w.GalleryOutOfDate = true;
    s.fraPicget->hide();
    return true;
}

void PictureImport::Preview(const QString& path) {
    // Decoded at the size it is shown; a file that is no picture leaves the
    // previous one.
    QSize natural;
    const QImage image = s.ReadBoxPicture(path, natural);
    if (!image.isNull()) s.ShowPictureImage(image, natural);
}

void PictureImport::WriteThumbnail(const QString& path) {
    const QString cacheFolder = logic::NormalThumbnailFolder();
    if (cacheFolder.isEmpty()) return;
    thumbnailer_->start([cacheFolder, path] {
        thumbnails::SmallPicture(cacheFolder, path, 0, thumbnails::Writer::ThisProgram);
    });
}

void PictureImport::cmdYame_Click() {
    s.fraPicget->hide();
    // The preview was only a preview: the title's own picture again.
    s.ShowPicture();
}
