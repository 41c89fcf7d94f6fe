#include "help/help_system.h"

#include <fmt/format.h>

#include <algorithm>
#include <utility>

#include "base/error.h"

namespace mirvane::help {

namespace {

// Sorted by text; entries with the same text keep their viewers' order.
template <typename Viewer>
void sortByText(std::vector<std::pair<std::string, Viewer>>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

bool inRange(int position, std::size_t size) {
    return position >= 0 && static_cast<std::size_t>(position) < size;
}

}  // namespace

int WinHelpViewer::UnderstandsKeyword(const std::string& keyword) {
    return tester_ && tester_->CanShowALink(keyword, "") ? 1 : 0;
}

std::vector<std::string> WinHelpViewer::GetHelpStrings(const std::string& keyword) {
    if (tester_) return tester_->GetHelpStrings(keyword);
    return {std::string(kName) + ": " + keyword};
}

bool WinHelpViewer::UnderstandsTopic(const std::string& topic) {
    return tester_ && tester_->CanShowTopic(topic, "");
}

bool WinHelpViewer::UnderstandsContext(int contextId, const std::string& helpFile) {
    return tester_ && tester_->CanShowContext(contextId, helpFile);
}

std::string HelpApplication::currentHelpFile() const {
    return activeFormHelpFile_.empty() ? helpFile_ : activeFormHelpFile_;
}

HelpSystem::HelpSystem() : winHelpViewer_(std::make_shared<WinHelpViewer>()) {
    RegisterViewer(winHelpViewer_);
}

HelpSystem::~HelpSystem() {
    // Viewers still registered when the help system goes are shut down.
    const auto remaining = viewers_;
    for (const auto& registered : remaining) registered.viewer->ShutDown();
}

HelpManager& HelpSystem::RegisterViewer(std::shared_ptr<CustomHelpViewer> viewer) {
    const int id = ++nextViewerId_;
    viewers_.push_back({id, viewer});
    viewer->NotifyID(id);
    return *this;
}

void HelpSystem::Release(int viewerId) {
    std::erase_if(viewers_, [viewerId](const Registered& r) { return r.id == viewerId; });
}

bool HelpSystem::HelpCommand(unsigned command, std::uintptr_t data) {
    switch (command) {
        case kHelpContext:
            HelpContext(static_cast<int>(data));
            return true;
        case kHelpQuit:
            SoftShutDownAll();
            return true;
        case kHelpContents:
            requestHelpFile_ = application_.currentHelpFile();
            ShowTableOfContents();
            return true;
        default:
            // Other WinHelp commands go to WinHelp-specific viewers; this
            // program has none with an engine behind it.
            return false;
    }
}

void HelpSystem::HelpContext(int contextId) {
    ShowContextHelp(contextId, application_.currentHelpFile());
}

void HelpSystem::HelpKeyword(const std::string& keyword) {
    ShowHelp(keyword, application_.currentHelpFile());
}

void HelpSystem::HelpTopic(const std::string& topic) {
    ShowTopicHelp(topic, application_.currentHelpFile());
}

void HelpSystem::ShowTableOfContents() {
    if (viewers_.empty()) return;
    if (viewers_.size() == 1) {
        const auto viewer = viewers_.front().viewer;
        if (viewer->CanShowTableOfContents()) viewer->ShowTableOfContents();
        return;
    }
    std::vector<std::pair<std::string, std::shared_ptr<CustomHelpViewer>>> able;
    for (const auto& registered : viewers_) {
        if (registered.viewer->CanShowTableOfContents())
            able.emplace_back(registered.viewer->GetViewerName(), registered.viewer);
    }
    if (able.empty()) return;
    sortByText(able);
    std::vector<std::string> names;
    for (const auto& [name, viewer] : able) names.push_back(name);
    const int chosen = selector_ ? selector_->TableOfContents(names) : 0;
    if (inRange(chosen, able.size()))
        able[static_cast<std::size_t>(chosen)].second->ShowTableOfContents();
}

void HelpSystem::ShowContextHelp(int contextId, const std::string& helpFile) {
    requestHelpFile_ = helpFile;
    const auto viewers = viewers_;  // a viewer may release itself while showing
    for (const auto& registered : viewers) {
        auto extended = std::dynamic_pointer_cast<ExtendedHelpViewer>(registered.viewer);
        if (extended && extended->UnderstandsContext(contextId, helpFile)) {
            extended->DisplayHelpByContext(contextId, helpFile);
            return;
        }
    }
}

void HelpSystem::ShowHelp(const std::string& keyword, const std::string& helpFile) {
    requestHelpFile_ = helpFile;
    std::vector<std::shared_ptr<CustomHelpViewer>> understanding;
    for (const auto& registered : viewers_) {
        if (registered.viewer->UnderstandsKeyword(keyword) > 0)
            understanding.push_back(registered.viewer);
    }
    if (understanding.empty()) fail(fmt::format("No help found for {}", keyword));
    if (understanding.size() == 1) {
        understanding.front()->ShowHelp(keyword);
        return;
    }
    std::vector<std::pair<std::string, std::shared_ptr<CustomHelpViewer>>> entries;
    for (const auto& viewer : understanding) {
        for (auto& entry : viewer->GetHelpStrings(keyword))
            entries.emplace_back(std::move(entry), viewer);
    }
    if (entries.empty()) return;
    sortByText(entries);
    std::vector<std::string> texts;
    for (const auto& [text, viewer] : entries) texts.push_back(text);
    const int chosen = selector_ ? selector_->SelectKeyword(texts) : 0;
    if (!inRange(chosen, entries.size())) return;
    const auto& [text, viewer] = entries[static_cast<std::size_t>(chosen)];
    viewer->ShowHelp(text);
}

void HelpSystem::ShowTopicHelp(const std::string& topic, const std::string& helpFile) {
    requestHelpFile_ = helpFile;
    const auto viewers = viewers_;
    for (const auto& registered : viewers) {
        auto extended = std::dynamic_pointer_cast<ExtendedHelpViewer>(registered.viewer);
        if (extended && extended->UnderstandsTopic(topic)) {
            extended->DisplayTopic(topic);
            return;
        }
    }
}

void HelpSystem::SoftShutDownAll() {
    const auto viewers = viewers_;
    for (const auto& registered : viewers) registered.viewer->SoftShutDown();
}

}  // namespace mirvane::help
