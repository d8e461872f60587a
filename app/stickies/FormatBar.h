#pragma once

#include "app/stickies/FormatBarModel.h"
#include "app/stickies/PopoverColors.h"

#include <QAbstractButton>
#include <QList>
#include <QWidget>

namespace Dovrin::Stickies {

// One cell of the format bar: its glyph on a clear background, tinted while its mark is active. Screen
// readers get one button named by its title, selected while active.
class FormatBarButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY(FormatBarButton)

public:
    static constexpr QSize cellSize{28, 24};

    FormatBarButton(const FormatItem& item, QWidget* parent = nullptr);

    const FormatItem& item() const { return m_item; }
    bool isActive() const { return m_active; }
    void setActive(bool active);
    void setColors(const PopoverColors& colors);

    QSize sizeHint() const override { return cellSize; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    FormatItem m_item;
    PopoverColors m_colors;
    bool m_active = false;
    bool m_underMouse = false;
};

// The bar over a text selection: Bold, Italic, Strikethrough, Code and Link, the active marks shown.
class FormatBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(FormatBar)

public:
    explicit FormatBar(FormatBarModel& model, QWidget* parent = nullptr);

    FormatBarModel& model() const { return m_model; }
    void setColors(const PopoverColors& colors);

signals:
    // The page command of the pressed button ("mark:bold", …, "link:edit").
    void commandPressed(const QString& command);

private:
    void refresh();

    FormatBarModel& m_model;
    QList<FormatBarButton*> m_buttons;
};

} // namespace Dovrin::Stickies
