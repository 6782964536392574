#pragma once

#include <QWidget>

class QTimer;

namespace journal {

// A ring of sectors in which a dark sector runs round, one step every 50 ms while animating.
// Stopped, it draws nothing. It runs from its creation, as the journal window expects.
class ActivityIndicator final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ActivityIndicator)
public:
    static constexpr int kSectorCount = 12;
    static constexpr int kStepMs = 50;

    explicit ActivityIndicator(QWidget* parent);

    void start();
    void stop();
    bool isAnimating() const;
    int frame() const { return fFrame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void step();

    QTimer* fTimer;
    int fFrame = 0;
};

} // namespace journal
