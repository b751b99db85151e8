#pragma once

#include <QDialog>
#include <QPointer>

#include "ui/AppState.h"

class QFrame;
class QLabel;
class QPushButton;

namespace vxa {

// A horizontal bar gauge: the filled share of its width is
// (progress - min) / (max - min), in the colour red 240, green 192, blue 0 on
// the button face, without a percentage text. The minimum is 0.
class TGauge : public QWidget {
    Q_OBJECT
  public:
    static constexpr QRgb kFillColour = qRgb(240, 192, 0);

    explicit TGauge(QWidget* parent);

    int minValue() const { return 0; }
    int maxValue() const { return MaxValue; }
    int progress() const { return Progress; }
    // A maximum below the minimum is taken as the minimum.
    void setMaxValue(int value);
    // Kept within minValue()..maxValue(): more shows a full bar, less an
    // empty one.
    void setProgress(int value);
    // The filled width in pixels; an equal minimum and maximum gives 0.
    int filledWidth() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int MaxValue = 100;
    int Progress = 0;
};

// "Please wait": shown while a script run loads and compiles. It is not
// modal, but while it shows the main window is disabled, so only its Stop
// button acts. Stop (the button, Esc, or closing it from the title bar while
// a run goes on) sets state.StopRequested and nothing else; the dialog stays
// until the runner closes it.
class TForm3 : public QDialog {
    Q_OBJECT
  public:
    TForm3(AppState& state, QWidget* mainWindow);

    void setGaugeMax(int max);
    void setGaugeProgress(int progress);
    void setStatus(const QString& text);

    // Shows it non-modally and disables the main window.
    void showRun();
    // Hides it and enables the main window again.
    void closeRun();

  public slots:
    // Esc: the same as Stop.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Button1Click();

    AppState& state_;
    QPointer<QWidget> mainWindow_;
    bool running_ = false;

    QLabel* Label2;
    QLabel* Label1;
    QFrame* Bevel1;
    TGauge* Gauge1;
    QPushButton* Button1;
};

}  // namespace vxa
