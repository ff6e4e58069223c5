#pragma once

#include <QPixmap>

// The four faces that mirror the overall rating: 0 for "◎", 1 for "○", 2 for
// "△", 3 for no rating.
QPixmap FacePicture(int face, int size);
