#include "ui/ComponentSettingsDialog.h"

#include "media/ExportComponent.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

using support::LocalizedString;

struct Choice final {
    QString title;
    QString value; // the text setExportSetting reads
};

// A menu of choices with the current value selected; a value the menu does
// not offer (set from the command line, or loaded from a file) is added, so
// that it stays what it was unless the user picks another.
QComboBox* choiceMenu(std::vector<Choice> choices, const QString& current) {
    auto* menu = new QComboBox;
    const bool offered = std::any_of(choices.begin(), choices.end(),
                                     [&](const Choice& choice) { return choice.value == current; });
    if (!offered)
        choices.push_back({current, current});
    for (const Choice& choice : choices) {
        menu->addItem(choice.title, choice.value);
        if (choice.value == current)
            menu->setCurrentIndex(menu->count() - 1);
    }
    return menu;
}

QString valueOf(const QComboBox* menu) {
    return menu->currentData().toString();
}

std::vector<Choice> encoderChoices(const std::vector<std::string>& encoders) {
    std::vector<Choice> choices;
    const QString standard = encoders.empty()
                                 ? LocalizedString("Default")
                                 : support::fillFormat(LocalizedString("Default (%@)"),
                                                       {QString::fromStdString(encoders.front())});
    choices.push_back({standard, "default"});
    for (const std::string& encoder : encoders)
        choices.push_back({QString::fromStdString(encoder), QString::fromStdString(encoder)});
    return choices;
}

QSpinBox* numberBox(int maximum, int value, const QString& suffix, const QString& zeroText) {
    auto* box = new QSpinBox;
    box->setRange(0, maximum);
    box->setValue(value);
    box->setSuffix(suffix);
    box->setSpecialValueText(zeroText);
    box->setAccelerated(true);
    return box;
}

// Bit rates are edited in kbit/s.
QSpinBox* bitRateBox(const std::string& bitsPerSecond, const QString& zeroText) {
    const long kbits = std::lround(QString::fromStdString(bitsPerSecond).toDouble() / 1000);
    return numberBox(1'000'000, static_cast<int>(kbits), " kbit/s", zeroText);
}

QString bitRateText(const QSpinBox* box) {
    return box->value() == 0 ? QString("0") : QString::number(box->value()) + "k";
}

bool isVideoKey(const std::string& key) {
    return key == "video-codec" || key == "video-bitrate" || key == "quality" || key == "size" ||
           key == "frame-rate";
}

} // namespace

ComponentSettingsForm::ComponentSettingsForm(const media::ExportComponent& component,
                                             const media::ExportSettings& current, QWidget* parent)
    : QDialog(parent), m_component(component), m_current(current) {
    setObjectName("exportSettingsDialog");
    const QString name = QString::fromStdString(component.name);
    setWindowTitle(support::fillFormat(LocalizedString("%@ Settings"), {name}));

    auto* heading = new QLabel("<b>" + name.toHtmlEscaped() + "</b><br>" +
                               QString::fromStdString(component.info).toHtmlEscaped());
    heading->setWordWrap(true);

    auto* video = new QGroupBox(LocalizedString("Video"));
    video->setObjectName("videoSettingsGroup");
    auto* sound = new QGroupBox(LocalizedString("Sound"));
    sound->setObjectName("soundSettingsGroup");
    auto* videoForm = new QFormLayout(video);
    auto* soundForm = new QFormLayout(sound);
    for (const auto& [key, value] : media::exportSettingsFields(current))
        addField(isVideoKey(key) ? *videoForm : *soundForm, key, value);
    // One label column for both groups, so that their fields line up.
    int labelWidth = 0;
    for (QFormLayout* form : {videoForm, soundForm})
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole))
                labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QFormLayout* form : {videoForm, soundForm})
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole); label && label->widget())
                label->widget()->setMinimumWidth(labelWidth);
    video->setVisible(component.writesVideo);
    sound->setVisible(component.writesSound);

    m_problem = new QLabel;
    m_problem->setObjectName("problemTextField");
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet("color: #b3261e;");
    m_problem->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttonBox");
    buttons->button(QDialogButtonBox::Ok)->setText(LocalizedString("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(LocalizedString("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ComponentSettingsForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ComponentSettingsForm::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(video);
    layout->addWidget(sound);
    layout->addWidget(m_problem);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void ComponentSettingsForm::addField(QFormLayout& form, const std::string& key, const std::string& value) {
    const QString text = QString::fromStdString(value);
    QString label;
    QWidget* editor = nullptr;
    std::function<QString()> read;
    if (key == "video-codec" || key == "audio-codec") {
        label = LocalizedString("Encoder:");
        auto* menu = choiceMenu(
            encoderChoices(key == "video-codec" ? m_component.videoEncoders : m_component.audioEncoders),
            text);
        editor = menu;
        read = [menu] { return valueOf(menu); };
    } else if (key == "video-bitrate" || key == "audio-bitrate") {
        label = LocalizedString("Bit rate:");
        auto* box = bitRateBox(value, key == "video-bitrate" ? LocalizedString("Constant quality")
                                                             : LocalizedString("Automatic"));
        editor = box;
        read = [box] { return bitRateText(box); };
    } else if (key == "quality") {
        label = LocalizedString("Quality:");
        auto* box = numberBox(63, text.toInt(), QString(), LocalizedString("Encoder default"));
        box->setToolTip(LocalizedString("Constant-quality level when no bit rate is set; lower is better."));
        editor = box;
        read = [box] { return QString::number(box->value()); };
    } else if (key == "size") {
        label = LocalizedString("Size:");
        const QStringList parts = text.split('x');
        const int width = parts.size() == 2 ? parts[0].toInt() : 0;
        const int height = parts.size() == 2 ? parts[1].toInt() : 0;
        auto* widthBox = numberBox(media::kMaxExportDimension, width, QString(), LocalizedString("Natural"));
        auto* heightBox =
            numberBox(media::kMaxExportDimension, height, QString(), LocalizedString("Natural"));
        widthBox->setObjectName("width");
        widthBox->setAccessibleName(LocalizedString("Width"));
        heightBox->setObjectName("height");
        heightBox->setAccessibleName(LocalizedString("Height"));
        editor = new QWidget;
        auto* row = new QHBoxLayout(editor);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(widthBox, 1);
        row->addWidget(new QLabel(QString::fromUtf8("\u00d7")));
        row->addWidget(heightBox, 1);
        read = [widthBox, heightBox] {
            if (widthBox->value() == 0 && heightBox->value() == 0)
                return QString("natural");
            return QString::number(widthBox->value()) + "x" + QString::number(heightBox->value());
        };
    } else if (key == "frame-rate") {
        label = LocalizedString("Frame rate:");
        auto* menu = choiceMenu({{LocalizedString("Same as the sources"), "source"},
                                 {"23.976", "24000/1001"},
                                 {"24", "24/1"},
                                 {"25", "25/1"},
                                 {"29.97", "30000/1001"},
                                 {"30", "30/1"},
                                 {"50", "50/1"},
                                 {"59.94", "60000/1001"},
                                 {"60", "60/1"}},
                                text);
        editor = menu;
        read = [menu] { return valueOf(menu); };
    } else if (key == "sample-rate") {
        label = LocalizedString("Sample rate:");
        std::vector<Choice> choices{{LocalizedString("Same as the sources"), "0"}};
        for (const int rate : {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000})
            choices.push_back({QString::number(rate) + " Hz", QString::number(rate)});
        auto* menu = choiceMenu(std::move(choices), text);
        editor = menu;
        read = [menu] { return valueOf(menu); };
    } else if (key == "channels") {
        label = LocalizedString("Channels:");
        auto* menu = choiceMenu({{LocalizedString("Same as the sources"), "0"},
                                 {LocalizedString("Mono"), "1"},
                                 {LocalizedString("Stereo"), "2"}},
                                text);
        editor = menu;
        read = [menu] { return valueOf(menu); };
    } else {
        return; // a field this form does not know yet is left as it is
    }
    editor->setObjectName(QString::fromStdString(key));
    if (editor->accessibleName().isEmpty())
        editor->setAccessibleName(QString(label).remove(':'));
    form.addRow(label, editor);
    m_fields.push_back({key, read, read()});
}

std::expected<media::ExportSettings, media::Error> ComponentSettingsForm::editedSettings() const {
    media::ExportSettings edited = m_current;
    for (const Field& field : m_fields) {
        const QString text = field.text();
        if (text == field.initialText)
            continue;
        if (auto set = media::setExportSetting(m_component, edited, field.key, text.toStdString()); !set)
            return std::unexpected(set.error());
    }
    return edited;
}

void ComponentSettingsForm::accept() {
    if (const auto edited = editedSettings(); !edited) {
        m_problem->setText(QString::fromStdString(edited.error().message));
        m_problem->show();
        return;
    }
    QDialog::accept();
}

std::expected<std::optional<media::ExportSettings>, media::Error>
DialogExportSettings::run(const media::ExportComponent& component, const media::ExportSettings& current) {
    ComponentSettingsForm form(component, current, &m_parent);
    form.setWindowModality(Qt::WindowModal);
    if (form.exec() != QDialog::Accepted)
        return std::optional<media::ExportSettings>();
    auto edited = form.editedSettings();
    if (!edited)
        return std::unexpected(edited.error());
    return std::optional<media::ExportSettings>(std::move(*edited));
}

} // namespace ui
