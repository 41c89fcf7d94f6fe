#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "help/help_system.h"
#include "help/html_help_engine.h"

// KelHtmlHelp: the program's help is one compiled HTML Help file beside the
// executable. TKelHtmlHelpViewer hands the help system's requests to the HTML
// Help engine and chooses itself among viewers; TKelWinHelpTester keeps the
// WinHelp viewer from answering anything.
namespace mirvane::help {

inline constexpr const char* kHelpFileName = "DELPHOS.chm";
// The main window, its panels and its run and close buttons.
inline constexpr int kMainWindowHelpContext = 1;

// A name is a .chm file when the text from its last "." is ".chm", in any case.
bool isChmFile(std::string_view name);

// A help file without a folder part is taken from the executable's folder.
std::string inExecutableFolder(const std::string& helpFile, std::string_view executablePath);

class TKelHtmlHelpViewer : public ExtendedHelpViewer, public HelpSelector {
  public:
    static constexpr const char* kViewerName = "KelHtmlHelp";
    static constexpr const char* kDefaultTopicExtension = ".htm";

    // `executablePath` is the running program's full path as the system
    // reports it; `application` gives the current help file and outlives the viewer.
    TKelHtmlHelpViewer(HtmlHelpEngine engine, std::string executablePath,
                       const HelpApplication& application);

    // The manager handed back by the help system at registration.
    void setHelpManager(HelpManager* manager) { helpManager_ = manager; }
    // Program end: gives the viewer ID back (out of every viewer list) and
    // drops the manager. Sends nothing.
    void ReleaseHelpManager();

    int viewerId() const { return viewerId_; }
    // The help file a request is shown from (see inExecutableFolder).
    std::string ResolvedHelpFile() const;

    // CustomHelpViewer
    std::string GetViewerName() override { return kViewerName; }
    int UnderstandsKeyword(const std::string& keyword) override;
    std::vector<std::string> GetHelpStrings(const std::string& keyword) override;
    bool CanShowTableOfContents() override { return true; }
    void ShowTableOfContents() override;
    void ShowHelp(const std::string& entry) override;
    void NotifyID(int viewerId) override { viewerId_ = viewerId; }
    void SoftShutDown() override;
    void ShutDown() override;

    // ExtendedHelpViewer
    bool UnderstandsTopic(const std::string& topic) override;
    void DisplayTopic(const std::string& topic) override;
    bool UnderstandsContext(int contextId, const std::string& helpFile) override;
    void DisplayHelpByContext(int contextId, const std::string& helpFile) override;

    // HelpSelector
    int SelectKeyword(const std::vector<std::string>& entries) override;
    int TableOfContents(const std::vector<std::string>& viewerNames) override;

    // The one sending step every command goes through: nothing without an
    // entry; HH_GET_LAST_ERROR dropped; HH_CLOSE_ALL with no owner and no file.
    void Send(unsigned command, const std::string& file, std::uintptr_t data);

  private:
    int viewerId_ = 0;
    HtmlHelpEngine engine_;
    HelpManager* helpManager_ = nullptr;  // from registration until release
    std::string executablePath_;
    const HelpApplication& application_;
};

// Installed in the WinHelp viewer: it may show nothing.
class TKelWinHelpTester : public WinHelpTester {
  public:
    bool CanShowALink(const std::string&, const std::string&) override { return false; }
    bool CanShowTopic(const std::string&, const std::string&) override { return false; }
    bool CanShowContext(int, const std::string&) override { return false; }
    std::vector<std::string> GetHelpStrings(const std::string& keyword) override {
        return {": " + keyword};
    }
    std::string GetHelpPath() override { return ""; }
    std::string GetDefaultHelpFile() override { return ""; }
};

// The bridge for the life of the program: installed once the help system
// exists and before the main window is created; going out of scope is the
// program's end, when the viewer gives back its ID.
class KelHtmlHelp {
  public:
    KelHtmlHelp(HelpSystem& helpSystem, HtmlHelpEngine engine, std::string executablePath);
    ~KelHtmlHelp();
    KelHtmlHelp(const KelHtmlHelp&) = delete;
    KelHtmlHelp& operator=(const KelHtmlHelp&) = delete;

    TKelHtmlHelpViewer& viewer() { return *viewer_; }

  private:
    std::shared_ptr<TKelHtmlHelpViewer> viewer_;
};

// F1 in the main window: its help context, from the current help file.
void showMainWindowHelp(HelpSystem& helpSystem);
// "F1 AYUDA": the contents of "DELPHOS.chm", set again as the help file.
void showHelpContents(HelpSystem& helpSystem);

}  // namespace mirvane::help
