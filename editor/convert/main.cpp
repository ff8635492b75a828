// stackmason-convert: converts buildings between the text format and schematics from the
// command line, through the editor's own load and save.
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "editor/convert/CommandLine.h"
#include "editor/convert/Conversion.h"

namespace {

constexpr int kConversionFailed = 1;
constexpr int kWrongArguments = 2;

int Report(const std::string& line, int status) {
    std::fprintf(stderr, "%s: %s\n", stackmason::kConvertProgramName, line.c_str());
    return status;
}

// The plans are painted with Qt's fonts and images, which want an application; the offscreen
// platform needs no display.
int WritePlans(const stackmason::ConversionRequest& request) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt's notes on its set-up (no XDG_RUNTIME_DIR, say) are not the builder's business: the
    // converter's standard error holds its own report alone.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s: %s\n", stackmason::kConvertProgramName, message.toLocal8Bit().constData());
    });
    int argc = 1;
    char name[] = "stackmason-convert";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    std::vector<std::string> notes;
    if (const std::optional<std::string> failure = stackmason::WriteLayerPlans(request, &notes))
        return Report(*failure, kConversionFailed);
    for (const std::string& note : notes)
        Report(note, 0);
    return 0;
}

int Run(const std::vector<std::string>& arguments) {
    const stackmason::CommandLine commandLine = stackmason::ParseCommandLine(arguments);
    if (std::holds_alternative<stackmason::HelpRequested>(commandLine)) {
        std::fputs(stackmason::HelpText().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : kConversionFailed;
    }
    if (const auto* usage = std::get_if<stackmason::UsageError>(&commandLine))
        return Report(usage->text, kWrongArguments);
    const auto& request = std::get<stackmason::ConversionRequest>(commandLine);
    if (request.plans != stackmason::ConversionRequest::Plans::None)
        return WritePlans(request);
    if (request.listMaterials || request.layerTable) {
        std::string csv;
        std::vector<std::string> notes;
        const auto list = request.layerTable ? stackmason::ListLayerTable : stackmason::ListMaterials;
        if (const std::optional<std::string> failure = list(request, csv, &notes))
            return Report(*failure, kConversionFailed);
        for (const std::string& note : notes)
            Report(note, 0);
        std::fputs(csv.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : kConversionFailed;
    }
    std::vector<std::string> notes;
    if (const std::optional<std::string> failure = stackmason::ConvertBuildingFile(request, &notes))
        return Report(*failure, kConversionFailed);
    for (const std::string& note : notes)
        Report(note, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& failure) {
        // The conversion's own steps report their failures; this is for what lies around them.
        return Report(std::string("conversion: ") + failure.what(), kConversionFailed);
    }
}
