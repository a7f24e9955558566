#include "ui/DesktopApplication.h"

#include "platform/Preferences.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "ui/Alerts.h"
#include "ui/ApplicationIcon.h"
#include "ui/MainWindow.h"
#include "ui/QtTranslations.h"
#include "ui/SingleInstance.h"
#include "ui/TerminationSignals.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <vector>

namespace ui {

namespace {

// The file arguments as the running instance must see them: absolute, since
// its working folder may be another.
std::vector<std::filesystem::path> documentArguments(int argc, char** argv) {
    std::vector<std::filesystem::path> paths;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        const std::filesystem::path path = std::filesystem::absolute(argv[i], error);
        paths.push_back(error ? std::filesystem::path(argv[i]) : path);
    }
    return paths;
}

// A damaged preferences file was set aside: the user learns where it went.
void tellAboutDamagedPreferences(const platform::Preferences& store) {
    const auto aside = store.setAsideFile();
    if (!aside)
        return;
    showAlert({support::Told::Information, "Your preferences could not be read, so the defaults are used.",
               "The damaged preferences file was kept as \"%@\".", {}, {QFile::decodeName(aside->c_str())}},
              nullptr);
}

void tellAboutUnsavedPreferences(platform::Preferences& store) {
    if (store.synchronize())
        return;
    std::cerr << "joinclip: cannot write the preferences to " << store.file().string() << "\n";
    showAlert({support::Told::Failure, "Your preferences could not be saved.", "%@", {},
               {QFile::decodeName(store.file().c_str())}},
              nullptr);
}

} // namespace

int runDesktopApplication(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("JoinClip");
    QApplication::setApplicationVersion(JOINCLIP_VERSION);
    QApplication::setDesktopFileName("joinclip");
    QApplication::setWindowIcon(applicationIcon());
    installQtTranslations();
    // QApplication took its own options out of argv.
    const std::vector<std::filesystem::path> documents = documentArguments(argc, argv);

    // A running JoinClip opens the files in its own window.
    // A running one that does not confirm has perhaps not got the files: this
    // start says so and fails, rather than passing as if they were opened.
    const QString socketPath = instanceSocketPath();
    HandOver handOver = handOverToRunningInstance(socketPath, documents, 10000);
    InstanceServer instance(socketPath);
    const bool listening = handOver == HandOver::NoneRunning && instance.listen();
    if (handOver == HandOver::NoneRunning && !listening)
        handOver = handOverToRunningInstance(socketPath, documents, 10000); // another start won the race
    if (handOver == HandOver::Taken)
        return 0;
    if (handOver == HandOver::NotTaken) {
        std::cerr << "joinclip: the running JoinClip did not take the files; they were not opened\n";
        return 1;
    }

    platform::Preferences store(platform::Preferences::defaultFile());
    MainWindow window(store);
    window.launch();
    tellAboutDamagedPreferences(store);

    // The open-documents handler, installed last in launch: files handed
    // over from now on, and those of this start.
    QObject::connect(
        &instance, &InstanceServer::documentsOpened, &window,
        [&window](const std::vector<std::filesystem::path>& paths) { window.openDocuments(paths); });
    if (!documents.empty())
        QTimer::singleShot(0, &window, [&window, documents] { window.openDocuments(documents); });

    QObject::connect(&application, &QCoreApplication::aboutToQuit, &window,
                     [&window] { window.terminate(); });
    // A logout (SIGTERM), a closed terminal (SIGHUP) or Ctrl-C end the program
    // as a quit does: the list and the preferences are saved, and a movie
    // being written leaves no temporary file behind.
    TerminationSignals endings;
    QObject::connect(&endings, &TerminationSignals::received, &window, &MainWindow::endBySignal);
    const int status = QApplication::exec();
    window.terminate();
    tellAboutUnsavedPreferences(store);
    return status;
}

} // namespace ui
