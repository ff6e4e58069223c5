#include "screens/images/gallery_screen.h"

#include <QDateTime>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShortcut>
#include <QThreadPool>
#include <algorithm>
#include <chrono>
#include <future>
#include <optional>
#include <vector>

#include "logic/pictures.h"
#include "logic/thumbnails.h"
#include "screens/thumbnail_cache.h"
#include "store/marks.h"
#include "store/side_files.h"
#include "window/accessible.h"
#include "window/frm_main.h"
#include "window/picture_box.h"
#include "window/twips.h"

namespace {

const QString kCrLf = store::marks::kLineEnd.toString();

// The screen's texts.
struct Texts {
    QString help = QStringLiteral("収集したタイトル画像を２０タイトル分ずつ一覧表示します。") +
                   kCrLf + kCrLf +
                   QStringLiteral(
                       "２１タイトル以上ある時は← →ボタンで表示を切り替えることが"
                       "できます。") +
                   kCrLf +
                   QStringLiteral(
                       "任意の画像、文字ををクリックするとそのタイトルでメイン画面を"
                       "表示することができます。") +
                   kCrLf + kCrLf;
    QString between = QStringLiteral("～");
    QString previous = QStringLiteral("前の２０タイトル");
    QString next = QStringLiteral("次の２０タイトル");
    QString previousName = QStringLiteral("前のページ");
    QString nextName = QStringLiteral("次のページ");
};

const Texts& T() {
    static const Texts texts;
    return texts;
}

constexpr int kSlotWidth = TwipsToPixels(1920);
constexpr int kSlotHeight = TwipsToPixels(1440);
constexpr int kNameHeight = 18;
constexpr int kLeft = 56;
constexpr int kTop = 10;
constexpr int kColumnPitch = kSlotWidth + 28;
constexpr int kRowPitch = kNameHeight + 2 + kSlotHeight + 18;

// The page buttons' pictures: a broad arrow pointing left or right.
QIcon ArrowIcon(bool right) {
    constexpr int size = 48;
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(4, size / 2.0);
    arrow.lineTo(24, 6);
    arrow.lineTo(24, 16);
    arrow.lineTo(44, 16);
    arrow.lineTo(44, 32);
    arrow.lineTo(24, 32);
    arrow.lineTo(24, 42);
    arrow.closeSubpath();
    if (right) p.setTransform(QTransform(-1, 0, 0, 1, size, 0));
    p.setPen(QPen(QColor(40, 80, 140), 2));
    p.setBrush(QColor(110, 160, 220));
    p.drawPath(arrow);
    return QIcon(pm);
}

QPushButton* PageButton(const QString& name, bool right, const QString& tip, QWidget* parent,
                        const QRect& r) {
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setIcon(ArrowIcon(right));
    b->setIconSize(QSize(48, 48));
    b->setToolTip(tip);
    b->setGeometry(r);
    return b;
}

// The picture of a slot from the title's existing picture files (.jpg, .gif,
// .bmp): the last one that loads, from its thumbnail or decoded no larger than
// one (a thumbnail's 128 pixels are the slot's width), or decoded for the
// slot's device pixels when it shows larger there (a 2x screen).
QImage SlotPicture(const QStringList& candidates, const QString& cacheFolder, qint64 now,
                   const QSize& box) {
    for (auto it = candidates.crbegin(); it != candidates.crend(); ++it) {
        const QImage image =
            thumbnails::SmallPicture(cacheFolder, *it, now, thumbnails::Writer::Anyone, box);
        if (!image.isNull()) return image;
    }
    return {};
}

// What the slot's picture is decoded from: every candidate with its stamp.
// Empty when one cannot be told from a changed file.
QString PicturesKey(const QStringList& candidates, qint64 now) {
    QString key;
    for (const QString& path : candidates) {
        const std::optional<QString> stamp = logic::PictureFileStamp(path, now);
        if (!stamp) return {};
        key += path + QLatin1Char('\t') + *stamp + QLatin1Char('\n');
    }
    return key;
}

std::future<QImage> Ready(const QImage& image) {
    std::promise<QImage> promise;
    promise.set_value(image);
    return promise.get_future();
}

// Decoded pictures kept for slots shown again, about seven pages of them.
constexpr qsizetype kKeptPictureBytes =
    qsizetype(7) * logic::kGallerySlots * kSlotWidth * kSlotHeight * 4;

}  // namespace

GalleryScreen::GalleryScreen(frmMain& window)
    : Screen(window, "fraPic", "cmdPic"),
      decoders_(new QThreadPool(this)),
      decoded_(kKeptPictureBytes) {
    build();
    // A built gallery reopens as it was left, without its explanation: the
    // common opening does not fit.
    w.SetScreenButtonHandler("cmdPic", [this] { cmdPic_Click(); });
}

GalleryScreen::~GalleryScreen() {
    // The decoders are waited for as they go; what is still queued is dropped.
    if (cancelDecoding_) cancelDecoding_->store(true);
}

void GalleryScreen::build() {
    QFrame* f = frame();
    for (int k = 1; k <= logic::kGallerySlots; ++k) {
        const int x = kLeft + ((k - 1) % 5) * kColumnPitch;
        const int y = kTop + ((k - 1) / 5) * kRowPitch;
        lblName[k] = new QLabel(f);
        lblName[k]->setObjectName(QStringLiteral("lblName_%1").arg(k));
        lblName[k]->setGeometry(x, y, kSlotWidth, kNameHeight);
        lblName[k]->setAlignment(Qt::AlignCenter);
        lblName[k]->installEventFilter(this);
        imgPIc[k] = new PictureBox(f);
        imgPIc[k]->setObjectName(QStringLiteral("imgPIc_%1").arg(k));
        imgPIc[k]->setGeometry(x, y + kNameHeight + 2, kSlotWidth, kSlotHeight);
        imgPIc[k]->setFrameShape(QFrame::StyledPanel);
        imgPIc[k]->setFocusPolicy(Qt::NoFocus);
        imgPIc[k]->setCursor(Qt::PointingHandCursor);
        imgPIc[k]->installEventFilter(this);
    }
    cmdDown = PageButton("cmdDown", false, T().previous + QStringLiteral("（PageUp）"), f,
                         QRect(872, 16, 96, 228));
    cmdUp = PageButton("cmdUp", true, T().next + QStringLiteral("（PageDown）"), f,
                       QRect(872, 252, 96, 228));
    NameControl(cmdDown, T().previousName);
    NameControl(cmdUp, T().nextName);
    connect(cmdDown, &QAbstractButton::clicked, this, [this] { cmdDown_Click(); });
    connect(cmdUp, &QAbstractButton::clicked, this, [this] { cmdUp_Click(); });
    const std::pair<Qt::Key, void (GalleryScreen::*)()> paging[] = {
        {Qt::Key_PageUp, &GalleryScreen::cmdDown_Click},
        {Qt::Key_PageDown, &GalleryScreen::cmdUp_Click}};
    for (const auto& [key, turn] : paging) {
        auto* shortcut =
            new QShortcut(QKeySequence(key), f, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, turn = turn] {
            const bool inSlot = qobject_cast<PictureBox*>(frame()->focusWidget()) != nullptr;
            (this->*turn)();
            if (inSlot) FocusSlot(1);
        });
    }

    const QRect places[3] = {{812, 500, 64, 26}, {910, 500, 64, 26}, {878, 500, 30, 26}};
    const Qt::Alignment aligns[3] = {Qt::AlignRight | Qt::AlignVCenter,
                                     Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignCenter};
    for (int k = 0; k < 3; ++k) {
        lblPicKan[k] = new QLabel(f);
        lblPicKan[k]->setObjectName(QStringLiteral("lblPicKan_%1").arg(k));
        lblPicKan[k]->setGeometry(places[k]);
        lblPicKan[k]->setAlignment(aligns[k]);
    }
    lblPicKan[2]->setText(T().between);
    ShowPageNumbers(1);
}

QString GalleryScreen::HelpText() const {
    return T().help;
}

bool GalleryScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (int k = 1; k <= logic::kGallerySlots; ++k) {
            if (watched == imgPIc[k] && SlotKey(k, static_cast<QKeyEvent*>(event)->key())) {
                return true;
            }
        }
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        for (int k = 1; k <= logic::kGallerySlots; ++k) {
            QLabel* hit = watched == imgPIc[k]    ? imgPIc[k]
                          : watched == lblName[k] ? lblName[k]
                                                  : nullptr;
            if (hit && mouse->button() == Qt::LeftButton &&
                hit->rect().contains(mouse->position().toPoint())) {
                imgPIc_Click(k);
                break;
            }
        }
    }
    return Screen::eventFilter(watched, event);
}

bool GalleryScreen::SlotKey(int k, int key) {
    constexpr int kColumns = 5;
    int to = 0;
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            imgPIc_Click(k);
            return true;
        case Qt::Key_Left:
            to = k - 1;
            break;
        case Qt::Key_Right:
            to = k + 1;
            break;
        case Qt::Key_Up:
            to = k - kColumns;
            break;
        case Qt::Key_Down:
            to = k + kColumns;
            break;
        default:
            return false;
    }
    // At the edge, or past the last title of the page, the focus stays.
    if (to >= 1 && to <= logic::kGallerySlots) FocusSlot(to);
    return true;
}

void GalleryScreen::FocusSlot(int k) {
    if (imgPIc[k]->focusPolicy() != Qt::NoFocus) imgPIc[k]->setFocus(Qt::OtherFocusReason);
}

void GalleryScreen::cmdPic_Click() {
    if (frame()->isVisible()) return;
    w.HideAllScreens();
    if (!w.GalleryOutOfDate) {
        frame()->show();
        return;
    }
    Fill();
}

void GalleryScreen::Fill() {
    GalleryPage = 1;
    ShowPageNumbers(1);
    ClearSlots();
    frame()->show();
    GalleryPageCount = logic::GalleryPageCount(w.catalogue.TitleCount);
    // An empty catalogue leaves the gallery to be built when titles come.
    if (w.catalogue.TitleCount == 0) return;
    w.platform().SetWaitPointer(true);
    FillSlots(1);
    w.platform().SetWaitPointer(false);
    w.GalleryOutOfDate = false;
    w.HelpText = HelpText();
    w.ShowHelpText();
}

void GalleryScreen::ShowPageNumbers(int page) {
    lblPicKan[0]->setText(QString::number(logic::GalleryFirstNumber(page)));
    lblPicKan[1]->setText(QString::number(logic::GalleryLastNumber(page)));
}

void GalleryScreen::ClearSlots() {
    for (int k = 1; k <= logic::kGallerySlots; ++k) {
        lblName[k]->clear();
        imgPIc[k]->ClearPicture();
        // Only a slot with a title takes the focus; the first one from Tab.
        if (imgPIc[k]->hasFocus()) cmdUp->setFocus(Qt::OtherFocusReason);
        imgPIc[k]->setFocusPolicy(Qt::NoFocus);
        NameControl(imgPIc[k], QString());
    }
}

void GalleryScreen::FillSlots(int page) {
    const int number = ++fillNumber_;
    const store::Catalogue& c = w.catalogue;
    // The pictures of the page are decoded by the pool's threads in slot
    // order, while this thread shows each as soon as it is ready. A picture
    // decoded before from the very same files is taken as it was.
    if (cancelDecoding_) cancelDecoding_->store(true);
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    cancelDecoding_ = cancelled;
    const qint64 now = w.platform().CurrentTime().toSecsSinceEpoch();
    const QString cacheFolder = logic::NormalThumbnailFolder();
    // Whether a file is new enough to change again within the second its
    // thumbnail records is a question for the clock that stamps files.
    const qint64 fileClock = QDateTime::currentSecsSinceEpoch();
    const QSize box = imgPIc[1]->size() * imgPIc[1]->devicePixelRatioF();
    std::vector<std::future<QImage>> pictures;
    std::vector<QString> toKeep;
    for (int k = 1; k <= logic::kGallerySlots; ++k) {
        const int n = logic::GalleryTitleAt(page, k, c.TitleCount);
        if (n == 0) break;
        toKeep.emplace_back();
        pictures.push_back(StartPicture(store::PictureCandidates(w.folder, c.strDaimei[n]),
                                        cacheFolder, now, fileClock, box, cancelled,
                                        toKeep.back()));
    }
    for (int k = 1; k <= int(pictures.size()); ++k) {
        const QString& name = c.strDaimei[logic::GalleryTitleAt(page, k, c.TitleCount)];
        lblName[k]->setText(name);
        NameControl(imgPIc[k], name);
        imgPIc[k]->setFocusPolicy(k == 1 ? Qt::StrongFocus : Qt::ClickFocus);
        // A name wider than its slot shows its beginning.
        const bool fits = lblName[k]->fontMetrics().horizontalAdvance(name) <= kSlotWidth;
        lblName[k]->setAlignment(fits ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        std::future<QImage>& ready = pictures[k - 1];
        while (ready.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
            w.platform().ProcessPendingEvents();
            if (number != fillNumber_) return;
        }
        const QImage picture = ready.get();
        if (!toKeep[k - 1].isEmpty() && !cancelled->load()) {
            decoded_.insert(toKeep[k - 1], new QImage(picture),
                            std::max<qsizetype>(picture.sizeInBytes(), 1));
        }
        if (!picture.isNull()) imgPIc[k]->SetPicture(picture);
        // The pictures appear one by one.
        w.platform().ProcessPendingEvents();
        if (number != fillNumber_) return;
    }
}

std::future<QImage> GalleryScreen::StartPicture(const QStringList& candidates,
                                                const QString& cacheFolder, qint64 now,
                                                qint64 fileClock, const QSize& box,
                                                const std::shared_ptr<std::atomic<bool>>& cancelled,
                                                QString& toKeep) {
    if (candidates.isEmpty()) return Ready(QImage());
    // Decoded for one size of slot in device pixels.
    QString key = PicturesKey(candidates, now);
    if (!key.isEmpty()) key += QStringLiteral("%1x%2").arg(box.width()).arg(box.height());
    if (const QImage* known = key.isEmpty() ? nullptr : decoded_.object(key)) return Ready(*known);
    toKeep = key;
    auto task = std::make_shared<std::packaged_task<QImage()>>([candidates, cacheFolder, fileClock,
                                                                box, cancelled] {
        return cancelled->load() ? QImage() : SlotPicture(candidates, cacheFolder, fileClock, box);
    });
    std::future<QImage> picture = task->get_future();
    decoders_->start([task] { (*task)(); });
    return picture;
}

void GalleryScreen::FillPage(int page) {
    GalleryPage = page;
    ShowPageNumbers(page);
    ClearSlots();
    w.platform().SetWaitPointer(true);
    FillSlots(page);
    w.platform().SetWaitPointer(false);
}

void GalleryScreen::cmdUp_Click() {
    const int next = logic::NextGalleryPage(GalleryPage, GalleryPageCount);
    if (next != GalleryPage) FillPage(next);
}

void GalleryScreen::cmdDown_Click() {
    const int previous = logic::PreviousGalleryPage(GalleryPage);
    if (previous != GalleryPage) FillPage(previous);
}

void GalleryScreen::imgPIc_Click(int index) {
    const int n = logic::GalleryTitleAt(GalleryPage, index, w.catalogue.TitleCount);
    if (n == 0) return;
    // A click is no double-click: the main screen's return title stays.
    w.ShowMainScreen(n);
}
