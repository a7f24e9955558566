#include "cli/PrefsCommand.h"

#include "cli/CommandLine.h"
#include "cli/OpenedPreferences.h"
#include "platform/FolderPreferences.h"
#include "support/PreferenceKeys.h"
#include "support/UserDefaults.h"

#include <ostream>

namespace cli {

namespace {

// The keys that hold a folder as file reference data, set by choosing a folder.
bool isFolderKey(support::Pref pref) {
    return pref == support::Pref::OutputDirectory || pref == support::Pref::DestinationDirectory;
}

// Answers the folder named on the command line, as the window's folder chooser answers the one chosen.
struct NamedFolder final : platform::FolderChooser {
    explicit NamedFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}
    std::optional<std::filesystem::path> chooseFolder(const QString&, const QString&,
                                                      const QString&) override {
        return m_folder;
    }
    std::filesystem::path m_folder;
};

std::string valueOrDefault(const platform::Preferences& store, const support::UserDefaults& defaults,
                           support::Pref pref) {
    if (isFolderKey(pref) && defaults.isPresent(pref)) {
        const auto folder = platform::CopyFolderPreference(store, support::preferenceName(pref));
        return folder ? folder->string() : "(a folder that cannot be found)";
    }
    if (defaults.isPresent(pref))
        return support::preferenceValueText(defaults.value(pref)).toStdString();
    const QVariant fallback = support::preferenceKey(pref).defaultValue;
    if (!fallback.isValid())
        return "(not set)";
    return "(not set; default " + support::preferenceValueText(fallback).toStdString() + ")";
}

} // namespace

int runPrefsCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("prefs", "Reads and changes the preferences the application and every command share. "
                                 "set types the value by the key's type; OutputDirectory and "
                                 "DestinationDirectory take a folder.");
    options.addPositional("VERB", "list, get KEY, set KEY VALUE or delete KEY.",
                          "list | get KEY | set KEY VALUE | "
                          "delete KEY");
    // Only the first word can be an option: a value such as -5 is a value.
    std::vector<std::string> words = arguments;
    if (!words.empty() && !words[0].starts_with("-"))
        words.insert(words.begin(), "--");
    if (const auto status = options.parse(words, out, err))
        return *status;
    words = options.positionalBytes();
    const std::string verb = words.empty() ? std::string() : words[0];
    const std::size_t wanted = verb == "list"                      ? 1
                               : verb == "get" || verb == "delete" ? 2
                               : verb == "set"                     ? 3
                                                                   : 0;
    if (wanted == 0 || words.size() != wanted)
        return options.usageError(words.empty() ? "no verb given" : "unknown verb or wrong number of words",
                                  err);

    OpenedPreferences preferences(err);
    platform::Preferences& store = preferences.store();
    support::UserDefaults defaults(store);
    if (verb == "list") {
        for (const support::PreferenceKey& key : support::preferenceKeys())
            out << key.name << "\t" << support::preferenceTypeName(key.type) << "\t"
                << valueOrDefault(store, defaults, key.pref) << "\n";
        return 0;
    }
    const auto pref = support::findPreference(QString::fromStdString(words[1]));
    if (!pref) {
        err << "joinclip prefs: unknown key \"" << words[1] << "\" (joinclip prefs list shows every key)\n";
        return 2;
    }
    if (verb == "get") {
        out << valueOrDefault(store, defaults, *pref) << "\n";
        return 0;
    }
    if (verb == "delete") {
        defaults.remove(*pref);
        return preferences.write("prefs") ? 0 : 1;
    }
    if (isFolderKey(*pref)) {
        NamedFolder chooser(words[2]);
        // The chooser is answered from the argument: nothing is shown.
        (void)platform::ChooseFolderPreference(store, chooser, platform::FolderQuestion{},
                                               support::preferenceName(*pref));
        const auto kept = platform::CopyFolderPreference(store, support::preferenceName(*pref));
        std::error_code error;
        if (!kept || !std::filesystem::equivalent(*kept, chooser.m_folder, error)) {
            err << "joinclip prefs: " << words[1] << " takes a folder, and \"" << words[2]
                << "\" is not one that can be kept\n";
            return 2;
        }
        return preferences.write("prefs") ? 0 : 1;
    }
    const auto value = support::preferenceValueFromText(*pref, QString::fromStdString(words[2]));
    if (!value) {
        err << "joinclip prefs: " << value.error().message << "\n";
        return 2;
    }
    if (!store.setValue(support::preferenceName(*pref), *value)) {
        err << "joinclip prefs: " << words[1] << " cannot store \"" << words[2]
            << "\": a preference holds no null, no text with a NUL character and no number beyond 64 bits\n";
        return 2;
    }
    return preferences.write("prefs") ? 0 : 1;
}

} // namespace cli
