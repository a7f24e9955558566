#include "ui/PreferencesWindow.h"

#include "app/ExportSettingsCommands.h"
#include "app/Session.h"
#include "net/UpdateCheck.h"
#include "support/LocalizedString.h"
#include "support/PreferenceKeys.h"
#include "ui/ComponentSettingsDialog.h"
#include "ui/ComponentSettingsPanels.h"
#include "ui/FolderChooser.h"
#include "ui/Alerts.h"
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
    explicit State(QDialog& window) : settingsDialog(window), ownFolderChooser(&window) {}

    DialogExportSettings settingsDialog;
    DialogFolderChooser ownFolderChooser;
    app::Session* session = nullptr;
    std::unique_ptr<app::ExportSettingsCommands> exportSettings;
    // The bound controls with their keys.
    std::vector<std::pair<QWidget*, support::Pref>> bound;
};

PreferencesWindow::PreferencesWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::PreferencesWindow>()) {
    m_ui->setupUi(this);
    m_state = std::make_unique<State>(*this);
    localizeTexts();
    // A build that never checks for updates has nothing to switch off.
    m_ui->softwareUpdateGroup->setVisible(!net::versionFileAddress().isEmpty());
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::close);
}

PreferencesWindow::~PreferencesWindow() = default;

void PreferencesWindow::attach(app::Session& session, platform::DesktopServices& desktop,
                               support::Console& console, platform::FolderChooser* folderChooser) {
    m_state->session = &session;
    m_state->exportSettings = std::make_unique<app::ExportSettingsCommands>(session.outputFormat(), console);
    connect(m_state->exportSettings.get(), &app::ExportSettingsCommands::noticed, this,
            [this](const support::Notice& notice) { showAlert(notice, this); });
    connectCommands(desktop, folderChooser ? *folderChooser : m_state->ownFolderChooser);
    bindPreferences();
    showPreferences();
    showOutputFormat();
    showFolders();
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

void PreferencesWindow::connectCommands(platform::DesktopServices& desktop, platform::FolderChooser& folderChooser) {
    app::Session& session = *m_state->session;
    connect(m_ui->componentPopupButton, &QComboBox::activated, this, [this, &session](int index) {
        (void)session.outputFormat().select(m_ui->componentPopupButton->itemText(index)); // a title it offered
        enableSettingsButtons();
    });
    app::ExportSettingsCommands& settings = *m_state->exportSettings;
    join::ExportSettingsDialog& dialog = m_state->settingsDialog;
    const auto askWhere = [this](const QString& type, const QString& name) {
        return askSettingsFileToSave(*this, type, name);
    };
    const auto askWhich = [this](const QString& type, const QString&) { return askSettingsFileToOpen(*this, type); };
    connect(m_ui->exportSettingsButton, &QPushButton::clicked, this, [&settings, &dialog] { settings.edit(dialog); });
    connect(m_ui->exportSaveSettingsButton, &QPushButton::clicked, this,
            [&settings, askWhere] { settings.save(askWhere); });
    connect(m_ui->exportLoadSettingsButton, &QPushButton::clicked, this,
            [&settings, &dialog, askWhich] { settings.load(askWhich, dialog); });
    // Each folder's Choose, Clear and Open; its field shows what the preferences then hold.
    const auto folderCommands = [this, &desktop, &folderChooser](app::PreferenceFolder& folder, QPushButton* choose,
                                                                 QPushButton* clear, QPushButton* open) {
        connect(choose, &QPushButton::clicked, this, [this, &folder, &folderChooser] {
            if (folder.choose(folderChooser))
                showFolders();
        });
        connect(clear, &QPushButton::clicked, this, [this, &folder] {
            folder.clear();
            showFolders();
        });
        connect(open, &QPushButton::clicked, this, [this, &folder, &desktop] {
            if (const auto notice = folder.open(desktop))
                showAlert(*notice, this);
        });
    };
    folderCommands(session.outputFolder(), m_ui->selectOutputDirectoryButton, m_ui->clearOutputDirectoryButton,
                   m_ui->openDefaultOutputDirectoryButton);
    folderCommands(session.downloadFolder(), m_ui->selectDestinationDirectoryButton,
                   m_ui->clearDestinationDirectoryButton, m_ui->openURLDownloadDirectoryButton);
}

void PreferencesWindow::showFolders() {
    if (!m_state->session)
        return;
    m_ui->outputDirectoryTextField->setText(m_state->session->outputFolder().displayText());
    m_ui->movieDownloadDestinationTextField->setText(m_state->session->downloadFolder().displayText());
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
    if (!m_state->session)
        return;
    const support::UserDefaults& defaults = m_state->session->defaults();
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
    if (!m_state->session)
        return;
    const app::OutputFormat& format = m_state->session->outputFormat();
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
    const app::OutputFormat& format = m_state->session->outputFormat();
    const bool enabled = format.hasSettingsForm(format.selectedTitle().value_or(QString()));
    for (QPushButton* button :
         {m_ui->exportSettingsButton, m_ui->exportSaveSettingsButton, m_ui->exportLoadSettingsButton})
        button->setEnabled(enabled);
}

void PreferencesWindow::storePreference(support::Pref pref, const QVariant& value) {
    app::Session& session = *m_state->session;
    support::UserDefaults& defaults = session.defaults();
    defaults.setValue(pref, value);
    if (!defaults.synchronize())
        emit statusChanged(LocalizedString("The preferences could not be saved."));
    if (pref == support::Pref::DesiredDuration)
        session.fileList().updateTotalDuration();
    if (isColumnKey(pref) || pref == support::Pref::DisplayFullPath)
        emit columnsChanged();
    emit preferenceChanged(support::preferenceName(pref));
}

void PreferencesWindow::showEvent(QShowEvent* event) {
    showPreferences();
    showOutputFormat();
    showFolders();
    QDialog::showEvent(event);
}

// The window's becoming key refills its folder fields.
void PreferencesWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_state)
        showFolders();
    QDialog::changeEvent(event);
}

} // namespace ui
