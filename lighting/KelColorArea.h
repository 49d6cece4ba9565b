// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour editor the lighting page opens from its swatch: one colour shown at once as a
// hue bar with a saturation/value field, as hue/saturation/value and red/green/blue numbers,
// and as hexadecimal text, with seven preset colours and a preview. Accepting it takes the
// colour shown.

#include <QColor>
#include <QDialog>
#include <QPixmap>

class DefaultColorArea;
class HColorArea;
class KelLabel;
class KelLineEdit;
class PreviewColorArea;
class QSpinBox;
class QToolButton;
class SVColorArea;

class KelColorArea : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPresetCount = 7;

    explicit KelColorArea(const QColor &start, QWidget *parent = nullptr);

    // The colour shown: exactly the red, green and blue given when it was set from them.
    QColor color() const { return m_colour; }
    int hue() const { return m_h; }
    int saturation() const { return m_s; }
    int value() const { return m_v; }
    // Sets every control from a colour (an invalid colour counts as black).
    void setColor(const QColor &colour);
    // The preset colours, in the order they are shown.
    static QColor presetColor(int index);

    void retranslateUi();

signals:
    void ApplyColor();

public slots:
    void color_clicked();
    void hValueChangedSlot(int value);
    void sValueChangedSlot(int value);
    void vValueChangedSlot(int value);
    void rValueChangedSlot(int value);
    void gValueChangedSlot(int value);
    void bValueChangedSlot(int value);
    void updateEditData(int h, int s, int v);
    void editChangedSlot(const QString &text);
    void editFinishedSlot();
    void MouseReleaseSlot();

protected:
    void paintEvent(QPaintEvent *event) override;
    // Enter takes the dialog's "Yes"; Escape cancels.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QSpinBox *makeBox(int column, int row, int maximum, const QString &objectName);
    // Shows a colour in every control; the hexadecimal text only when asked, so that a text
    // being typed is not rewritten under the cursor.
    void showColour(const QColor &colour, bool setHexText);
    // Shows the hue, saturation and value held in every control.
    void showHsv();
    // Shows the colour and hue, saturation and value held in every control.
    void showState(bool setHexText);
    void rgbBoxChanged();

    QColor m_colour = Qt::black;
    int m_h = 0;
    int m_s = 0;
    int m_v = 0;
    // Set while one control updates the others, so that their change signals do not echo.
    bool m_updating = false;

    KelLabel *m_title = nullptr;
    HColorArea *m_hueBar = nullptr;
    SVColorArea *m_field = nullptr;
    PreviewColorArea *m_preview = nullptr;
    QSpinBox *m_hBox = nullptr;
    QSpinBox *m_sBox = nullptr;
    QSpinBox *m_vBox = nullptr;
    QSpinBox *m_rBox = nullptr;
    QSpinBox *m_gBox = nullptr;
    QSpinBox *m_bBox = nullptr;
    KelLineEdit *m_hexEdit = nullptr;
    DefaultColorArea *m_presets[kPresetCount] = {};
    QToolButton *m_acceptBtn = nullptr;
    QToolButton *m_rejectBtn = nullptr;
    QPixmap m_background;
};
