#pragma once

#include <QImage>
#include <QLabel>

// A picture in a box of fixed size: scaled to fit, keeping its proportions,
// centred on the box's background, at the screen's device pixel ratio. With
// the focus it draws a focus frame.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The size a picture takes in a box: scaled to fit, proportions kept.
    static QSize FittedSize(QSize picture, QSize box);

    // Shows the picture (decoded at any size); a null image empties the box.
    void SetPicture(const QImage& picture);
    void ClearPicture() { SetPicture(QImage()); }
    // Where the picture is drawn, in the box's coordinates (empty when none).
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    QImage picture_;
};
