#include "cli/PrefsCommand.h"

#include "platform/Preferences.h"
#include "support/PreferenceKeys.h"
#include "support/UserDefaults.h"

#include <ostream>

namespace cli {

namespace {

constexpr const char* kUsage = "usage: joinclip prefs list | get KEY | set KEY VALUE | delete KEY\n";

std::string valueOrDefault(const support::UserDefaults& defaults, support::Pref pref) {
    if (defaults.isPresent(pref))
        return support::preferenceValueText(defaults.value(pref)).toStdString();
    const QVariant fallback = support::preferenceKey(pref).defaultValue;
    if (!fallback.isValid())
        return "(not set)";
    return "(not set; default " + support::preferenceValueText(fallback).toStdString() + ")";
}

} // namespace

int runPrefsCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << kUsage;
        return 2;
    }
    platform::Preferences store(platform::Preferences::defaultFile());
    if (const auto aside = store.setAsideFile())
        err << "joinclip: the preferences file was damaged; it was kept as " << aside->string() << "\n";
    support::UserDefaults defaults(store);
    const std::string& verb = arguments[0];

    if (verb == "list" && arguments.size() == 1) {
        for (const support::PreferenceKey& key : support::preferenceKeys())
            out << key.name << "\t" << support::preferenceTypeName(key.type) << "\t"
                << valueOrDefault(defaults, key.pref) << "\n";
        return 0;
    }
    if (arguments.size() < 2) {
        err << kUsage;
        return 2;
    }
    const QString name = QString::fromStdString(arguments[1]);
    const auto pref = support::findPreference(name);
    if (!pref) {
        err << "joinclip prefs: unknown key \"" << arguments[1]
            << "\" (joinclip prefs list shows every key)\n";
        return 2;
    }
    if (verb == "get" && arguments.size() == 2) {
        out << valueOrDefault(defaults, *pref) << "\n";
        return 0;
    }
    if (verb == "delete" && arguments.size() == 2) {
        defaults.remove(*pref);
        return defaults.synchronize() ? 0 : 1;
    }
    if (verb == "set" && arguments.size() == 3) {
        const auto value = support::preferenceValueFromText(*pref, QString::fromStdString(arguments[2]));
        if (!value) {
            err << "joinclip prefs: " << value.error().message << "\n";
            return 2;
        }
        defaults.setValue(*pref, *value);
        if (!defaults.synchronize()) {
            err << "joinclip prefs: cannot write " << store.file().string() << "\n";
            return 1;
        }
        return 0;
    }
    err << kUsage;
    return 2;
}

} // namespace cli
