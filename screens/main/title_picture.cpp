#include "screens/main/main_screen.h"

// The title's picture in imgGazou: found by the title's name, decoded no
// larger than the box shows it, the box's width following its shape.

#include <QImageReader>
#include <QScrollBar>

#include "logic/pictures.h"
#include "store/side_files.h"
#include "window/picture_box.h"
#include "window/twips.h"

void MainScreen::ShowPicture() {
    imgGazou->ClearPicture();
    pictureSize = {};
    const store::Catalogue& c = w.catalogue;
    if (c.TitleCount == 0) return;
    const QStringList candidates =
        store::PictureCandidates(w.folder, c.strDaimei[hsbData->value()]);
    // The last of .jpg, .gif, .bmp that loads wins: try them from the end.
    QImage image;
    QSize natural;
    for (auto it = candidates.crbegin(); it != candidates.crend() && image.isNull(); ++it) {
        image = ReadBoxPicture(*it, natural);
    }
    if (image.isNull()) return;
    ShowPictureImage(image, natural);
}

QImage MainScreen::ReadBoxPicture(const QString& path, QSize& natural) const {
    logic::PictureSource source(path);
    if (!source.device()) return {};
    QImageReader reader(source.device());
    reader.setDecideFormatFromContent(true);
    // A picture larger than its place in the box is decoded at that place's
    // size in device pixels; a smaller one is decoded whole.
    const QSize header = reader.size();
    bool scaled = false;
    if (header.isValid()) {
        const QSize fitted =
            PictureBox::FittedSize(header, PictureBoxSize(header) * imgGazou->devicePixelRatioF());
        if (header.width() > fitted.width()) {
            reader.setScaledSize(fitted);
            scaled = true;
        }
    }
    const QImage image = reader.read();
    if (!image.isNull()) natural = scaled ? header : image.size();
    return image;
}

QSize MainScreen::PictureBoxSize(QSize natural) const {
    const auto width = logic::PictureBoxWidth(PixelsToTwips(natural.width()),
                                              PixelsToTwips(natural.height()), kPictureHeightTwips);
    return {width ? TwipsToPixels(*width) : imgGazou->width(), TwipsToPixels(kPictureHeightTwips)};
}

void MainScreen::ShowPictureImage(const QImage& image, QSize natural) {
    pictureSize = natural;
    imgGazou->resize(PictureBoxSize(natural));
    imgGazou->SetPicture(image);
}
