#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons holding a whole-number value in a range: the up arrow adds the step, the
// down arrow takes it away, and neither passes the ends. valueChanged runs only on a real change.
// Tab reaches it and the Up and Down keys step it.
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
    // What the arrows do, whether clicked or keyed.
    void StepUp();
    void StepDown();

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void valueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int minimum_;
    int maximum_;
    int value_;
    int step_ = 1;
    QToolButton* up_;
    QToolButton* down_;
};
