// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HeadlessCommandLine.h"

#include <memory>
#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <new>
#include <optional>
#include <set>

#include "app/ProgramFolders.h"
#include "app/PageLanguageSetting.h"
#include "app/QSettingsStore.h"
#include "app/ShellTexts.h"
#include "base/SafeFile.h"
#include "cli/HeadlessTexts.h"
#include "model/AppletParameters.h"
#include "services/ParameterCheck.h"
#include "services/DocumentFile.h"
#include "services/DocumentHost.h"
#include "services/TemplateStore.h"
#include "site/LinkCheck.h"
#include "site/SiteDocument.h"
#include "site/SitePages.h"
#include "site/SitePublish.h"
#include "base/TextRoutines.h"
#include "output/HtmlPageBuilder.h"
#include "output/MenuLayout.h"
#include "output/PageLayout.h"
#include "output/ParameterReader.h"
#include "output/AppletParameterEncoder.h"
#include "preview/PreviewTexts.h"

using namespace kestrune;
namespace ht = headlesstexts;

namespace {

// Failures of the document operations go to standard error; there is nothing to commit.
class StreamDocumentHost : public IDocumentHost {
public:
    explicit StreamDocumentHost(std::ostream& err) : m_err(err) {}
    void CommitPendingEdits() override {}
    void ReportMessage(const std::string& text) override { m_err << text << '\n'; }
    void SetModified(bool) override {}

private:
    std::ostream& m_err;
};

struct UsageError {
    std::string message;
};

enum class Action { Params, Html, Check, Save, New, Layout, Publish, CheckLinks, Help, Version };

struct Request {
    std::optional<std::string> appDir;
    Action action = Action::Help;
    std::string file;      // FILE, or POSITION for --new
    std::string dest;      // DEST of --save
    bool autoSize = false;
    bool runtime = false;  // the script runtime's line in the page, and its copy
    bool add = false;      // --publish puts the menu into pages without markers
    MenuPath open;         // --open of --layout
};

const std::set<std::string>& ActionOptions() {
    static const std::set<std::string> options = {ht::kParams, ht::kHtml, ht::kCheck, ht::kSave,
                                                  ht::kNew,    ht::kLayout, ht::kHelp, ht::kVersion, ht::kAutoSize,
                                                  ht::kRuntime, ht::kPublish, ht::kCheckLinks};
    return options;
}

// Options the toolkit of the window reads itself, with one dash or two; those before the
// blank take a value.
const std::set<std::string>& ToolkitOptionsWithValue() {
    static const std::set<std::string> options = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                                  "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                                  "style", "stylesheet", "display", "geometry", "qmljsdebugger"};
    return options;
}
bool IsToolkitFlag(const std::string& name) {
    return name == "reverse" || name == "widgetcount" || name == "nograb" || name == "dograb" || name == "sync";
}

// The first argument written as an option ("--name") that neither Kestrune nor its toolkit
// knows; a mistyped one would otherwise start the window.
std::optional<std::string> UnknownOption(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) continue;
        const std::string name = arg.substr(2);
        if (arg == ht::kAppDir || ToolkitOptionsWithValue().count(name) > 0) {
            ++i;
            continue;
        }
        if (ActionOptions().count(arg) == 0 && arg != ht::kOpen && arg != ht::kAdd && arg != previewtexts::kViewOption &&
            !IsToolkitFlag(name))
            return arg;
    }
    return std::nullopt;
}

class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& args) : m_args(args) {}
    bool AtEnd() const { return m_next >= m_args.size(); }
    const std::string& Peek() const { return m_args[m_next]; }
    std::string Take() { return m_args[m_next++]; }
    std::string TakeValueOf(const std::string& option) {
        if (AtEnd()) throw UsageError{FormatMessage(ht::kMissingArgument, option)};
        return Take();
    }

private:
    const std::vector<std::string>& m_args;
    std::size_t m_next = 0;
};

// What may follow the action's own arguments: --auto-size and --runtime where the action
// takes them, each once.
void ReadTrailingOptions(ArgumentReader& reader, Request& request, bool autoSizeAllowed, bool runtimeAllowed) {
    while (!reader.AtEnd()) {
        const std::string option = reader.Take();
        if (option == ht::kAutoSize && autoSizeAllowed && !request.autoSize)
            request.autoSize = true;
        else if (option == ht::kRuntime && runtimeAllowed && !request.runtime)
            request.runtime = true;
        else
            throw UsageError{FormatMessage(ht::kUnexpectedArgument, option)};
    }
}

int ParseIndexField(std::string_view text, const std::string& whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        throw UsageError{FormatMessage(ht::kBadOpenPath, whole)};
    return value;
}

MenuPath ParseOpenPath(const std::string& text) {
    MenuPath path;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string_view field = std::string_view(text).substr(start, comma - start);
        if (path.topMenu < 0)
            path.topMenu = ParseIndexField(field, text);
        else
            path.items.push_back(ParseIndexField(field, text));
        if (comma == std::string::npos) return path;
        start = comma + 1;
    }
}

Request ParseLayoutRequest(ArgumentReader& reader, Request request) {
    request.action = Action::Layout;
    request.file = reader.TakeValueOf(ht::kLayout);
    if (!reader.AtEnd()) {
        const std::string option = reader.Take();
        if (option != ht::kOpen) throw UsageError{FormatMessage(ht::kUnexpectedArgument, option)};
        request.open = ParseOpenPath(reader.TakeValueOf(ht::kOpen));
    }
    if (!reader.AtEnd()) throw UsageError{FormatMessage(ht::kUnexpectedArgument, reader.Take())};
    return request;
}

Request ParseRequest(const std::vector<std::string>& args) {
    ArgumentReader reader(args);
    Request request;
    if (!reader.AtEnd() && reader.Peek() == ht::kAppDir) {
        reader.Take();
        request.appDir = reader.TakeValueOf(ht::kAppDir);
    }
    if (reader.AtEnd()) throw UsageError{ht::kMissingOption};
    const std::string action = reader.Take();
    if (action == ht::kHelp || action == ht::kVersion) {
        if (request.appDir || !reader.AtEnd()) throw UsageError{FormatMessage(ht::kUnexpectedArgument, action)};
        request.action = action == ht::kHelp ? Action::Help : Action::Version;
        return request;
    }
    if (action == ht::kLayout) return ParseLayoutRequest(reader, request);
    if (action == ht::kPublish || action == ht::kCheckLinks) {
        request.action = action == ht::kPublish ? Action::Publish : Action::CheckLinks;
        request.file = reader.TakeValueOf(action);
        if (request.action == Action::Publish && !reader.AtEnd() && reader.Peek() == ht::kAdd) {
            reader.Take();
            request.add = true;
        }
        if (!reader.AtEnd()) throw UsageError{FormatMessage(ht::kUnexpectedArgument, reader.Take())};
        return request;
    }
    if (action == ht::kNew) {
        request.action = Action::New;
        request.file = reader.TakeValueOf(ht::kNew);
        const std::string save = reader.TakeValueOf(request.file);
        if (save != ht::kSave) throw UsageError{FormatMessage(ht::kUnexpectedArgument, save)};
        request.dest = reader.TakeValueOf(ht::kSave);
        ReadTrailingOptions(reader, request, false, true);
        return request;
    }
    if (action == ht::kParams || action == ht::kHtml || action == ht::kCheck || action == ht::kSave) {
        request.file = reader.TakeValueOf(action);
        if (action == ht::kSave) {
            request.action = Action::Save;
            request.dest = reader.TakeValueOf(request.file);
        } else {
            request.action = action == ht::kParams ? Action::Params : action == ht::kHtml ? Action::Html : Action::Check;
        }
        ReadTrailingOptions(reader, request, request.action != Action::Params,
                            request.action == Action::Html || request.action == Action::Save);
        return request;
    }
    throw UsageError{FormatMessage(ht::kUnexpectedArgument, action)};
}

int ParsePosition(const std::string& text) {
    int position = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), position);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw UsageError{FormatMessage(ht::kBadPosition, text)};
    return position;
}

void Write(std::ostream& out, const std::string& bytes) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
}

// The page's folder is made when missing, as a shell user expects of a target path.
bool PrepareDestination(const std::string& dest, std::ostream& err) {
    const std::filesystem::path folder = std::filesystem::path(dest).parent_path();
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) return true;
    std::filesystem::create_directories(folder, error);
    if (!error) return true;
    err << FormatMessage(ht::kCannotCreateFolder, folder.string()) << '\n';
    return false;
}

int SaveTo(CAppletParameters& applet, const Request& request, HeadlessEnvironment& env, IDocumentHost& host,
           std::vector<std::string>* damagedFiles = nullptr) {
    if (request.autoSize) CheckParameters(applet, true);
    if (!PrepareDestination(request.dest, env.err)) return 1;
    const std::string language = pagelanguage::Read(env.settings);
    return SaveDocument(applet, request.dest, env.appDir, host, request.runtime, language, damagedFiles) ? 0 : 1;
}

// The page as a browser receives it: its parameters, not the menu file beside it.
int PrintLayout(const Request& request, HeadlessEnvironment& env) {
    std::string text;
    // A regular file only, opened without waiting: a pipe named as the page cannot hang us.
    if (ReadRegularFile(request.file, kMaxPageBytes, text) != FileCheck::Ok) {
        env.err << FormatMessage(ht::kCannotReadPage, request.file) << '\n';
        return 1;
    }
    const PageLayout laidOut = LayOutPage(text, request.open);
    if (!laidOut.read.Ok()) {
        env.err << FormatMessage(ht::kCannotReadPage, request.file) << '\n' << laidOut.read.error << '\n';
        return 1;
    }
    Write(env.out, laidOut.json);
    return 0;
}

// Saves the document as a page with the runtime (unless its files are already that), then
// puts its menu into every page of its site, one report line per page as each is done.
int Publish(CAppletParameters& applet, const Request& request, HeadlessEnvironment& env, IDocumentHost& host,
            std::vector<std::string>* damagedFiles) {
    std::filesystem::path page = std::filesystem::absolute(request.file);
    // A menu file's page is the page beside it.
    if (page.extension() == ".kst") page.replace_extension(".htm");
    const std::string language = pagelanguage::Read(env.settings);
    PageReport own{page.filename().string(), PageReport::Outcome::Unchanged, {}};
    if (!SavedPageCurrent(applet, page.string(), env.appDir, language)) {
        if (!SaveDocument(applet, page.string(), env.appDir, host, true, language, damagedFiles)) return 1;
        own.outcome = PageReport::Outcome::Saved;
    }
    env.out << ReportLine(own) << '\n';
    SitePublisher publisher(applet, page.parent_path());
    const bool clean = PublishPages(publisher, ScanSite(page.parent_path(), own.path), request.add,
                                    [&env](const PageReport& report) { env.out << ReportLine(report) << '\n'; });
    env.out.flush();
    return clean ? 0 : 1;
}

int CheckLinks(const CAppletParameters& applet, const Request& request, HeadlessEnvironment& env) {
    const std::filesystem::path page = std::filesystem::absolute(request.file);
    const LinkCheckResult result =
        CheckSiteLinks(applet, page.parent_path(), ScanSite(page.parent_path(), page.filename().string()));
    Write(env.out, result.report);
    return result.broken.empty() ? 0 : 1;
}

int ExecuteOn(CAppletParameters& applet, const Request& request, HeadlessEnvironment& env) {
    StreamDocumentHost host(env.err);
    if (request.action == Action::New) {
        const int position = ParsePosition(request.file);
        CTemplateStore store(env.settings, env.appDir, env.userDir);
        store.SeedTemplateList();
        if (const std::string problem = store.UserFolderProblem(); !problem.empty()) env.err << problem << '\n';
        if (position < 0 || position >= static_cast<int>(store.ListTemplateNames().size())) {
            env.err << FormatMessage(ht::kNoSuchTemplate, request.file) << '\n';
            return 1;
        }
        std::string error;
        if (!store.LoadTemplate(applet, position, &error)) {
            env.err << error << '\n';
            return 1;
        }
        return SaveTo(applet, request, env, host);
    }

    DocumentRead read = ReadDocumentFile(request.file);
    if (!AcceptDocumentRead(applet, read, host)) return 1;
    // What a damaged file gave is written all the same, but the status says it is not whole.
    const int readStatus = read.damage.empty() ? 0 : 1;
    switch (request.action) {
        case Action::Params:
            Write(env.out, BuildAppletParameters(applet));
            return readStatus;
        case Action::Html:
            if (request.autoSize) CheckParameters(applet, true);
            Write(env.out, BuildPage(applet, request.runtime, pagelanguage::Read(env.settings)));
            return readStatus;
        case Action::Check:
            Write(env.out, CheckParameters(applet, request.autoSize, {true, env.appDir, request.file}).report);
            return readStatus;
        case Action::Save:
            return SaveTo(applet, request, env, host, &read.damagedFiles);
        case Action::Publish:
            return std::max(readStatus, Publish(applet, request, env, host, &read.damagedFiles));
        case Action::CheckLinks:
            return CheckLinks(applet, request, env);
        default:
            return 2;
    }
}

int Execute(const Request& request, HeadlessEnvironment& env) {
    if (request.action == Action::Layout) return PrintLayout(request, env);
    auto applet = std::make_unique<CAppletParameters>();
    const int status = ExecuteOn(*applet, request, env);
    if (env.processEndsAfter) (void)applet.release();
    return status;
}

std::string VersionText() {
    return std::string("Kestrune ") + KESTRUNE_VERSION + "\n" + shelltexts::kCopyrightNotice + "\n" +
           shelltexts::kLicenceNotice + "\n";
}

}  // namespace

std::string HeadlessUsage() { return ht::kUsage; }

bool IsHeadlessInvocation(int argc, char** argv) {
    int next = 1;
    if (next < argc && std::string(argv[next]) == ht::kAppDir) next += 2;
    if (next < argc && ActionOptions().count(argv[next]) > 0) return true;
    return UnknownOption(std::vector<std::string>(argv + std::min(argc, 1), argv + argc)).has_value();
}

int RunHeadlessCommand(const std::vector<std::string>& args, HeadlessEnvironment& environment) {
    if (const auto unknown = UnknownOption(args)) {
        environment.err << ht::kUsagePrefix << FormatMessage(ht::kUnknownOption, *unknown) << '\n' << HeadlessUsage();
        return 2;
    }
    try {
        const Request request = ParseRequest(args);
        if (request.action == Action::Help) {
            Write(environment.out, HeadlessUsage());
            return 0;
        }
        if (request.action == Action::Version) {
            Write(environment.out, VersionText());
            return 0;
        }
        if (request.appDir) {
            const ProgramFolders folders = FindProgramFolders(QString::fromLocal8Bit(*request.appDir));
            environment.appDir = folders.appDir.toLocal8Bit().toStdString();
            environment.userDir = folders.userDir.toLocal8Bit().toStdString();
        }
        while (environment.appDir.size() > 1 && environment.appDir.back() == '/') environment.appDir.pop_back();
        return Execute(request, environment);
    } catch (const UsageError& usage) {
        environment.err << ht::kUsagePrefix << usage.message << '\n' << ht::kSeeHelp;
        return 2;
    } catch (const std::bad_alloc&) {
        environment.err << ht::kOutOfMemory << '\n';
        return 1;
    }
}

int RunHeadless(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    // A core application gives the executable's folder; nothing graphical is made.
    QCoreApplication application(argc, argv);
    QSettingsStore settings;
    if (!settings.Problem().isEmpty()) std::cerr << settings.Problem().toLocal8Bit().constData() << '\n';
    const ProgramFolders folders = FindProgramFolders(QCoreApplication::applicationDirPath());
    HeadlessEnvironment environment{folders.appDir.toLocal8Bit().toStdString(), settings, std::cout, std::cerr,
                                    folders.userDir.toLocal8Bit().toStdString(), true};
    const int status = RunHeadlessCommand(args, environment);
    settings.Sync();
    return status;
}
