#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons holding a whole-number value in a range: the up arrow adds the step, the
// down arrow takes it away, and neither passes the ends. valueChanged runs only on a real change.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, int value, QWidget* parent = nullptr);

    int value() const { return value_; }
    void setValue(int value);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int singleStep() const { return step_; }
    void setSingleStep(int step) { step_ = step; }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void valueChanged(int value);

private:
    int minimum_;
    int maximum_;
    int value_;
    int step_ = 1;
    QToolButton* up_;
    QToolButton* down_;
};
