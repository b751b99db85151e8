#pragma once

#include <QImage>
#include <QStatusBar>
#include <QString>
#include <optional>

class QLabel;

namespace vxa {

// Panel 0 of the status bar, where the loader draws its progress. The
// drawing is kept in an image the panel paints, so it survives repaints and
// lasts until the next drawing. The loader draws every tenth entry; only the
// latest drawing is rendered, when the panel is next painted.
class ProgressPanel final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 104;

    explicit ProgressPanel(QWidget* parent = nullptr);

    // A bar `barWidth` pixels long (0..100) with `text` centred on it.
    void draw(int barWidth, const QString& text);
    // What the panel shows, in the status bar's own pixels.
    QImage image();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void render();

    QImage image_;
    struct Drawing {
        int BarWidth;
        QString Text;
    };
    std::optional<Drawing> pending_;
};

// The status bar `Status1`: the 104-pixel progress panel, then a text panel
// reaching to the size grip. Both sit at fixed places, not in the bar's
// layout, so the drawing's coordinates are the bar's own.
class StatusBar1 final : public QStatusBar {
    Q_OBJECT
  public:
    static constexpr int kHeight = 22;

    explicit StatusBar1(QWidget* parent = nullptr);

    ProgressPanel* progress() const { return progress_; }
    QLabel* textPanel() const { return text_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    ProgressPanel* progress_;
    QLabel* text_;
};

}  // namespace vxa
