#pragma once
// A label and a drop-down list for names: they ask for the room the whole
// name needs, but make do with less; where the name does not fit it is
// shown elided in the middle, with the whole name as the tooltip. Their text
// stays whole, so assistive technology reads the whole name.
//
// In a form: promote the QLabel to CElidingLabel, the QComboBox to
// CElidingCombo (header ui/ElidingWidgets.h).

#include <QComboBox>
#include <QLabel>

class CElidingLabel : public QLabel {
    Q_OBJECT
public:
    explicit CElidingLabel(QWidget* parent = nullptr);

    // True when the text is shown elided.
    bool IsElided() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

class CElidingCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CElidingCombo(QWidget* parent = nullptr);

    // True when the current item's text is shown elided.
    bool IsElided() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect TextRect() const;
};
