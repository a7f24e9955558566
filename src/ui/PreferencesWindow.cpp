#include "ui/PreferencesWindow.h"

#include "app/JoinClipController.h"
#include "net/UpdateCheck.h"
#include "support/LocalizedString.h"
#include "support/PreferenceKeys.h"
#include "ui/ComponentSettingsDialog.h"
#include "ui/ComponentSettingsPanels.h"
#include "ui/FolderChooser.h"
#include "ui/WidgetControls.h"
#include "ui_PreferencesWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <vector>

namespace ui {

namespace {

using support::LocalizedString;

bool isColumnKey(support::Pref pref) {
    return pref >= support::Pref::IndexColumn && pref <= support::Pref::EXIFDateTimeColumn;
}

// The inner parts of a compound widget (a tab bar's scroll buttons, a spin
// box's field, the standard buttons) come with Qt's own texts, translated by Qt.
bool isPartOfQtWidget(const QWidget& widget) {
    for (const QWidget* parent = widget.parentWidget(); parent; parent = parent->parentWidget())
        if (parent->inherits("QTabBar") || parent->inherits("QAbstractSpinBox") ||
            parent->inherits("QComboBox") || parent->inherits("QDialogButtonBox"))
            return true;
    return false;
}

QString localized(const QString& text) {
    return text.isEmpty() ? text : LocalizedString(text);
}

} // namespace

struct PreferencesWindow::State {
    State(Ui::PreferencesWindow& ui, QDialog& window)
        : outputDirectoryTextField(*ui.outputDirectoryTextField),
          movieDownloadDestinationTextField(*ui.movieDownloadDestinationTextField), preferencesWindow(window),
          panels(window), settingsDialog(window), folderChooser(&window) {}

    LineEditTextControl outputDirectoryTextField;
    LineEditTextControl movieDownloadDestinationTextField;
    WidgetWindow preferencesWindow;
    DialogComponentSettingsPanels panels;
    DialogExportSettings settingsDialog;
    DialogFolderChooser folderChooser;
    app::JoinClipController* controller = nullptr;
    // The bound controls with their keys.
    std::vector<std::pair<QWidget*, support::Pref>> bound;
};

PreferencesWindow::PreferencesWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::PreferencesWindow>()) {
    m_ui->setupUi(this);
    m_state = std::make_unique<State>(*m_ui, *this);
    localizeTexts();
    // A build that never checks for updates has nothing to switch off.
    m_ui->softwareUpdateGroup->setVisible(!net::versionFileAddress().isEmpty());
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::close);
}

PreferencesWindow::~PreferencesWindow() = default;

void PreferencesWindow::fillOutlets(app::MainWindowOutlets& outlets) {
    app::ExportComponentOutlets& components = outlets.components;
    components.preferencesWindow = &m_state->preferencesWindow;
    components.panels = &m_state->panels;
    components.settingsDialog = &m_state->settingsDialog;
    outlets.outputDirectoryTextField = &m_state->outputDirectoryTextField;
    outlets.movieDownloadDestinationTextField = &m_state->movieDownloadDestinationTextField;
    if (!outlets.join.folderChooser)
        outlets.join.folderChooser = &m_state->folderChooser;
}

void PreferencesWindow::attach(app::JoinClipController& controller) {
    m_state->controller = &controller;
    connectCommands();
    bindPreferences();
    showPreferences();
    showOutputFormat();
}

// Every text of the window is looked up like the rest of the application's:
// the .ui file holds the English keys.
void PreferencesWindow::localizeTexts() {
    setWindowTitle(localized(windowTitle()));
    for (int index = 0; index < m_ui->preferencesTabs->count(); ++index)
        m_ui->preferencesTabs->setTabText(index, localized(m_ui->preferencesTabs->tabText(index)));
    for (QPushButton* button : m_ui->buttonBox->findChildren<QPushButton*>())
        button->setText(localized(button->text().remove('&')));
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (isPartOfQtWidget(*widget))
            continue;
        widget->setToolTip(localized(widget->toolTip()));
        widget->setAccessibleName(localized(widget->accessibleName()));
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(localized(button->text()));
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(localized(group->title()));
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(localized(label->text()));
        else if (auto* field = qobject_cast<QLineEdit*>(widget))
            field->setPlaceholderText(localized(field->placeholderText()));
        else if (auto* number = qobject_cast<QDoubleSpinBox*>(widget))
            number->setSpecialValueText(localized(number->specialValueText()));
        if (auto* menu = qobject_cast<QComboBox*>(widget); menu && menu != m_ui->componentPopupButton)
            for (int index = 0; index < menu->count(); ++index)
                menu->setItemText(index, localized(menu->itemText(index)));
    }
}

void PreferencesWindow::connectCommands() {
    app::JoinClipController& controller = *m_state->controller;
    connect(m_ui->componentPopupButton, &QComboBox::activated, this, [this, &controller](int index) {
        (void)controller.outputFormat().select(m_ui->componentPopupButton->itemText(index)); // a title it offered
        enableSettingsButtons();
    });
    app::ExportSettingsCommands& settings = controller.exportSettings();
    connect(m_ui->exportSettingsButton, &QPushButton::clicked, this, [&settings] { settings.edit(); });
    connect(m_ui->exportSaveSettingsButton, &QPushButton::clicked, this, [&settings] { settings.save(); });
    connect(m_ui->exportLoadSettingsButton, &QPushButton::clicked, this, [&settings] { settings.load(); });
    // Each folder's Choose, Clear and Open; its field shows what the preferences then hold.
    const auto folderCommands = [this, &controller](app::PreferenceFolder& folder, QPushButton* choose,
                                                    QPushButton* clear, QPushButton* open) {
        const app::JoinCommandOutlets& ports = controller.outlets().join;
        connect(choose, &QPushButton::clicked, this, [&controller, &folder, &ports] {
            if (folder.choose(*ports.folderChooser))
                controller.showFolders();
        });
        connect(clear, &QPushButton::clicked, this, [&controller, &folder] {
            folder.clear();
            controller.showFolders();
        });
        connect(open, &QPushButton::clicked, this,
                [&folder, &ports] { folder.open(*ports.desktop, *ports.alerts); });
    };
    folderCommands(controller.outputFolder(), m_ui->selectOutputDirectoryButton, m_ui->clearOutputDirectoryButton,
                   m_ui->openDefaultOutputDirectoryButton);
    folderCommands(controller.downloadFolder(), m_ui->selectDestinationDirectoryButton,
                   m_ui->clearDestinationDirectoryButton, m_ui->openURLDownloadDirectoryButton);
}

void PreferencesWindow::bindPreferences() {
    for (QWidget* widget : findChildren<QWidget*>()) {
        const QVariant key = widget->property("preferenceKey");
        if (!key.isValid())
            continue;
        const std::optional<support::Pref> pref = support::findPreference(key.toString());
        if (!pref)
            continue;
        m_state->bound.emplace_back(widget, *pref);
        if (auto* box = qobject_cast<QCheckBox*>(widget))
            connect(box, &QCheckBox::toggled, this, [this, pref](bool on) { storePreference(*pref, on); });
        else if (auto* menu = qobject_cast<QComboBox*>(widget))
            connect(menu, &QComboBox::currentIndexChanged, this,
                    [this, pref](int index) { storePreference(*pref, qint64{index}); });
        else if (auto* number = qobject_cast<QDoubleSpinBox*>(widget))
            connect(number, &QDoubleSpinBox::valueChanged, this,
                    [this, pref](double value) { storePreference(*pref, value); });
    }
}

// Shows the stored values (the key's default where none is stored) without storing them again.
void PreferencesWindow::showPreferences() {
    if (!m_state->controller)
        return;
    const support::UserDefaults& defaults = m_state->controller->defaults();
    for (const auto& [widget, pref] : m_state->bound) {
        const QSignalBlocker blocker(widget);
        if (auto* box = qobject_cast<QCheckBox*>(widget))
            box->setChecked(defaults.boolValue(pref));
        else if (auto* menu = qobject_cast<QComboBox*>(widget))
            menu->setCurrentIndex(static_cast<int>(defaults.integerValue(pref)));
        else if (auto* number = qobject_cast<QDoubleSpinBox*>(widget))
            number->setValue(defaults.floatValue(pref));
    }
}

void PreferencesWindow::showOutputFormat() {
    if (!m_state->controller)
        return;
    const app::OutputFormat& format = m_state->controller->outputFormat();
    QComboBox& menu = *m_ui->componentPopupButton;
    const QSignalBlocker blocker(&menu);
    menu.clear();
    for (const QString& title : format.components().titles()) {
        menu.addItem(title);
        menu.setItemData(menu.count() - 1, format.components().find(title)->info, Qt::ToolTipRole);
    }
    menu.setCurrentIndex(menu.findText(format.selectedTitle().value_or(QString())));
    enableSettingsButtons();
}

// The settings buttons serve components that have settings to edit.
void PreferencesWindow::enableSettingsButtons() {
    const app::OutputFormat& format = m_state->controller->outputFormat();
    const bool enabled = format.hasSettingsForm(format.selectedTitle().value_or(QString()));
    for (QPushButton* button :
         {m_ui->exportSettingsButton, m_ui->exportSaveSettingsButton, m_ui->exportLoadSettingsButton})
        button->setEnabled(enabled);
}

void PreferencesWindow::storePreference(support::Pref pref, const QVariant& value) {
    app::JoinClipController& controller = *m_state->controller;
    support::UserDefaults& defaults = controller.defaults();
    defaults.setValue(pref, value);
    if (!defaults.synchronize())
        controller.message(LocalizedString("The preferences could not be saved."));
    if (pref == support::Pref::DesiredDuration)
        controller.fileList().updateTotalDuration();
    if (isColumnKey(pref) || pref == support::Pref::DisplayFullPath)
        emit columnsChanged();
    emit preferenceChanged(support::preferenceName(pref));
}

void PreferencesWindow::showEvent(QShowEvent* event) {
    showPreferences();
    showOutputFormat();
    QDialog::showEvent(event);
}

// The window's becoming key refills its folder fields.
void PreferencesWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_state && m_state->controller)
        m_state->controller->showFolders();
    QDialog::changeEvent(event);
}

} // namespace ui
