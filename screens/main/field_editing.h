#pragma once

#include <QObject>

class MainScreen;

// The attribute fields, the rating, the scores and the ownership boxes, edited in place.
class FieldEditing : public QObject {
    Q_OBJECT
public:
    explicit FieldEditing(MainScreen& screen);

private:
    MainScreen& s;
};
