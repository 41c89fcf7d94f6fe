#include "help/kel_html_help.h"

#include <fmt/format.h>

#include <utility>

namespace mirvane::help {

namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string asciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = asciiLower(c);
    return lower;
}

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// Folder separators of a Windows path; "/" also serves the Linux builds.
constexpr std::string_view kFolderSeparators = "\\/";

}  // namespace

bool isChmFile(std::string_view name) {
    const auto dot = name.rfind('.');
    return dot != std::string_view::npos && asciiLower(name.substr(dot)) == ".chm";
}

std::string inExecutableFolder(const std::string& helpFile, std::string_view executablePath) {
    const bool hasFolder = helpFile.find_first_of(kFolderSeparators) != std::string::npos ||
                           helpFile.find(':') != std::string::npos;
    if (helpFile.empty() || hasFolder) return helpFile;
    const auto lastSeparator = executablePath.find_last_of(kFolderSeparators);
    const auto folder = lastSeparator == std::string_view::npos
                            ? std::string_view()
                            : executablePath.substr(0, lastSeparator + 1);
    return std::string(folder) + helpFile;
}

TKelHtmlHelpViewer::TKelHtmlHelpViewer(HtmlHelpEngine engine, std::string executablePath,
                                       const HelpApplication& application)
    : engine_(std::move(engine)),
      executablePath_(std::move(executablePath)),
      application_(application) {}

void TKelHtmlHelpViewer::ReleaseHelpManager() {
    if (auto* manager = std::exchange(helpManager_, nullptr)) manager->Release(viewerId_);
}

std::string TKelHtmlHelpViewer::ResolvedHelpFile() const {
    std::string file = helpManager_ ? helpManager_->GetHelpFile() : std::string();
    if (file.empty()) file = application_.currentHelpFile();
    return inExecutableFolder(file, executablePath_);
}

int TKelHtmlHelpViewer::UnderstandsKeyword(const std::string&) {
    return isChmFile(ResolvedHelpFile()) ? 1 : 0;
}

std::vector<std::string> TKelHtmlHelpViewer::GetHelpStrings(const std::string& keyword) {
    return {fmt::format("{}: {}", kViewerName, keyword)};
}

void TKelHtmlHelpViewer::ShowTableOfContents() {
    const std::string file = ResolvedHelpFile();
    if (isChmFile(file)) Send(HH_DISPLAY_TOC, file, 0);
}

void TKelHtmlHelpViewer::ShowHelp(const std::string& entry) {
    const std::string file = ResolvedHelpFile();
    if (!isChmFile(file)) return;
    std::string_view keyword = entry;
    if (const auto colon = keyword.find(':'); colon != std::string_view::npos)
        keyword.remove_prefix(colon + 1);
    while (!keyword.empty() && isBlank(keyword.front())) keyword.remove_prefix(1);
    while (!keyword.empty() && isBlank(keyword.back())) keyword.remove_suffix(1);
    const std::string text(keyword);
    Send(HH_DISPLAY_INDEX, file, reinterpret_cast<std::uintptr_t>(text.c_str()));
}

void TKelHtmlHelpViewer::SoftShutDown() {
    Send(HH_CLOSE_ALL, "", 0);
}

void TKelHtmlHelpViewer::ShutDown() {
    SoftShutDown();
    helpManager_ = nullptr;
}

bool TKelHtmlHelpViewer::UnderstandsTopic(const std::string&) {
    return isChmFile(ResolvedHelpFile());
}

void TKelHtmlHelpViewer::DisplayTopic(const std::string& topic) {
    const std::string file = ResolvedHelpFile();
    if (!isChmFile(file)) return;
    const auto dot = topic.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : asciiLower(topic.substr(dot));
    const bool isPage = extension == ".htm" || extension == ".html";
    Send(HH_DISPLAY_TOPIC, file + "::/" + topic + (isPage ? "" : kDefaultTopicExtension), 0);
}

bool TKelHtmlHelpViewer::UnderstandsContext(int, const std::string& helpFile) {
    return isChmFile(helpFile);
}

void TKelHtmlHelpViewer::DisplayHelpByContext(int contextId, const std::string&) {
    const std::string file = ResolvedHelpFile();
    if (isChmFile(file))
        Send(HH_HELP_CONTEXT, file, static_cast<std::uintptr_t>(static_cast<unsigned>(contextId)));
}

int TKelHtmlHelpViewer::SelectKeyword(const std::vector<std::string>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view entry = entries[i];
        if (entry.substr(0, entry.find(':')) == kViewerName) return static_cast<int>(i);
    }
    return 0;
}

int TKelHtmlHelpViewer::TableOfContents(const std::vector<std::string>& viewerNames) {
    const std::string name = asciiLower(kViewerName);
    for (std::size_t i = 0; i < viewerNames.size(); ++i) {
        if (asciiLower(viewerNames[i]) == name) return static_cast<int>(i);
    }
    return -1;  // not among them: the help system shows no contents
}

void TKelHtmlHelpViewer::Send(unsigned command, const std::string& file, std::uintptr_t data) {
    const HtmlHelpEntry entry = engine_.entry();
    if (!entry || command == HH_GET_LAST_ERROR) return;
    if (command == HH_CLOSE_ALL) {
        entry(0, nullptr, command, data);
        return;
    }
    const std::uintptr_t owner = helpManager_ ? helpManager_->GetHandle() : 0;
    entry(owner, file.c_str(), command, data);
}

KelHtmlHelp::KelHtmlHelp(HelpSystem& helpSystem, HtmlHelpEngine engine, std::string executablePath)
    : viewer_(std::make_shared<TKelHtmlHelpViewer>(std::move(engine), std::move(executablePath),
                                                   helpSystem.application())) {
    viewer_->setHelpManager(&helpSystem.RegisterViewer(viewer_));
    helpSystem.setHelpSelector(viewer_);
    helpSystem.winHelpViewer().setTester(std::make_shared<TKelWinHelpTester>());
}

KelHtmlHelp::~KelHtmlHelp() {
    viewer_->ReleaseHelpManager();
}

void showMainWindowHelp(HelpSystem& helpSystem) {
    helpSystem.HelpContext(kMainWindowHelpContext);
}

void showHelpContents(HelpSystem& helpSystem) {
    helpSystem.application().setHelpFile(kHelpFileName);
    helpSystem.HelpCommand(kHelpContents, 0);
}

}  // namespace mirvane::help
