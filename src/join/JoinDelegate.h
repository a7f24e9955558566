#pragma once

#include <QString>
#include <filesystem>

namespace join {

// What a join tells the application while it runs. The application
// controller is the delegate; the command line and tests give their own.
class JoinDelegate {
public:
    virtual ~JoinDelegate() = default;
    virtual void showSpinner(bool shown) = 0;
    virtual void message(const QString& text) = 0;
    // The write's progress: phase 0 begin, 1 update, 2 end, the fraction done
    // and the file being written. Answering false cancels the write.
    virtual bool shouldContinueOperation(int phase, double fraction,
                                         const std::filesystem::path& fileName) = 0;
};

} // namespace join
