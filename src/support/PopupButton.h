#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace support {

// A pop-up menu button as the logic sees it: items with tool tips and one selected item.
class PopupButton {
public:
    virtual ~PopupButton() = default;
    virtual void removeAllItems() = 0;
    virtual void addItem(const QString& title, const QString& toolTip) = 0;
    virtual void selectItemAtIndex(int index) = 0;
    // Selects the item with that title; without one the selection stays as it was.
    virtual void selectItemWithTitle(const QString& title) = 0;
    // The selected item's title; empty when nothing is selected.
    virtual QString titleOfSelectedItem() const = 0;
    virtual QStringList itemTitles() const = 0;
};

// A pop-up button with no widget behind it: the command line's, and the tests'.
class StoredPopupButton final : public PopupButton {
public:
    void removeAllItems() override {
        m_titles.clear();
        m_toolTips.clear();
        m_selected = -1;
    }
    void addItem(const QString& title, const QString& toolTip) override {
        m_titles << title;
        m_toolTips << toolTip;
    }
    void selectItemAtIndex(int index) override {
        if (index >= 0 && index < m_titles.size())
            m_selected = index;
    }
    void selectItemWithTitle(const QString& title) override {
        if (const auto index = m_titles.indexOf(title); index >= 0)
            m_selected = static_cast<int>(index);
    }
    QString titleOfSelectedItem() const override {
        return m_selected >= 0 ? m_titles[m_selected] : QString();
    }
    QStringList itemTitles() const override { return m_titles; }
    QString toolTipAt(int index) const { return m_toolTips.value(index); }

private:
    QStringList m_titles;
    QStringList m_toolTips;
    int m_selected = -1;
};

} // namespace support
