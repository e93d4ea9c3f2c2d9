#pragma once

#include <QWidget>

class QToolButton;

namespace perlinex {

// A pair of up and down arrow buttons with no value of its own: the owner decides what a step
// means and may refuse it. Up/Down keys step it when it has the focus.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

public slots:
    void stepUp() { emit increment(); }
    void stepDown() { emit decrement(); }

signals:
    void increment();
    void decrement();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace perlinex
