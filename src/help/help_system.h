#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A small help system of our own: viewers register with it and it hands them
// the program's help requests (contents, context, keyword, topic). The
// operation names follow the viewer interfaces the help bridge implements.
namespace mirvane::help {

// The help commands the application sends (WinHelp's numbering).
inline constexpr unsigned kHelpContext = 1;
inline constexpr unsigned kHelpQuit = 2;
inline constexpr unsigned kHelpContents = 3;

// What the help system tells a registered viewer about the request it serves.
class HelpManager {
  public:
    virtual ~HelpManager() = default;
    // The help file named in the request being served (may be empty).
    virtual std::string GetHelpFile() const = 0;
    // The owner window for what the viewer shows; this help system reports none (0).
    virtual std::uintptr_t GetHandle() const = 0;
    // Removes the viewer from every viewer list.
    virtual void Release(int viewerId) = 0;
};

class CustomHelpViewer {
  public:
    virtual ~CustomHelpViewer() = default;
    virtual std::string GetViewerName() = 0;
    // Positive when the viewer can show the keyword.
    virtual int UnderstandsKeyword(const std::string& keyword) = 0;
    virtual std::vector<std::string> GetHelpStrings(const std::string& keyword) = 0;
    virtual bool CanShowTableOfContents() = 0;
    virtual void ShowTableOfContents() = 0;
    virtual void ShowHelp(const std::string& entry) = 0;
    virtual void NotifyID(int viewerId) = 0;
    virtual void SoftShutDown() = 0;
    virtual void ShutDown() = 0;
};

class ExtendedHelpViewer : public CustomHelpViewer {
  public:
    virtual bool UnderstandsTopic(const std::string& topic) = 0;
    virtual void DisplayTopic(const std::string& topic) = 0;
    virtual bool UnderstandsContext(int contextId, const std::string& helpFile) = 0;
    virtual void DisplayHelpByContext(int contextId, const std::string& helpFile) = 0;
};

// Chooses among several viewers; both return a position in the list given.
class HelpSelector {
  public:
    virtual ~HelpSelector() = default;
    virtual int SelectKeyword(const std::vector<std::string>& entries) = 0;
    virtual int TableOfContents(const std::vector<std::string>& viewerNames) = 0;
};

// The WinHelp viewer's hook: it shows what its tester allows.
class WinHelpTester {
  public:
    virtual ~WinHelpTester() = default;
    virtual bool CanShowALink(const std::string& keyword, const std::string& helpFile) = 0;
    virtual bool CanShowTopic(const std::string& topic, const std::string& helpFile) = 0;
    virtual bool CanShowContext(int contextId, const std::string& helpFile) = 0;
    virtual std::vector<std::string> GetHelpStrings(const std::string& keyword) = 0;
    virtual std::string GetHelpPath() = 0;
    virtual std::string GetDefaultHelpFile() = 0;
};

// The help system's own viewer, registered first. There is no WinHelp engine
// in this program: it answers only what its tester allows and shows nothing.
class WinHelpViewer : public ExtendedHelpViewer {
  public:
    static constexpr const char* kName = "WinHelp";

    void setTester(std::shared_ptr<WinHelpTester> tester) { tester_ = std::move(tester); }

    std::string GetViewerName() override { return kName; }
    int UnderstandsKeyword(const std::string& keyword) override;
    std::vector<std::string> GetHelpStrings(const std::string& keyword) override;
    bool CanShowTableOfContents() override { return true; }
    void ShowTableOfContents() override {}
    void ShowHelp(const std::string&) override {}
    void NotifyID(int viewerId) override { viewerId_ = viewerId; }
    void SoftShutDown() override {}
    void ShutDown() override {}
    bool UnderstandsTopic(const std::string& topic) override;
    void DisplayTopic(const std::string&) override {}
    bool UnderstandsContext(int contextId, const std::string& helpFile) override;
    void DisplayHelpByContext(int, const std::string&) override {}

  private:
    std::shared_ptr<WinHelpTester> tester_;
    int viewerId_ = 0;
};

// The application's help settings: its help file and the active form's.
class HelpApplication {
  public:
    void setHelpFile(std::string file) { helpFile_ = std::move(file); }
    void setActiveFormHelpFile(std::string file) { activeFormHelpFile_ = std::move(file); }
    // The active form's help file when it has one, else the application's.
    std::string currentHelpFile() const;

  private:
    std::string helpFile_;
    std::string activeFormHelpFile_;
};

// Registration and dispatch. Viewers are kept in registration order; the
// WinHelp viewer is registered on construction, so it stands first.
class HelpSystem : public HelpManager {
  public:
    HelpSystem();
    ~HelpSystem() override;
    HelpSystem(const HelpSystem&) = delete;
    HelpSystem& operator=(const HelpSystem&) = delete;

    HelpApplication& application() { return application_; }
    const HelpApplication& application() const { return application_; }
    WinHelpViewer& winHelpViewer() { return *winHelpViewer_; }

    // Adds a viewer, gives it its ID through NotifyID and returns its manager.
    HelpManager& RegisterViewer(std::shared_ptr<CustomHelpViewer> viewer);
    void setHelpSelector(std::shared_ptr<HelpSelector> selector) {
        selector_ = std::move(selector);
    }

    // The application's requests, each for its current help file.
    bool HelpCommand(unsigned command, std::uintptr_t data);
    void HelpContext(int contextId);
    void HelpKeyword(const std::string& keyword);
    void HelpTopic(const std::string& topic);

    // The dispatch itself, for a given help file.
    void ShowTableOfContents();
    void ShowContextHelp(int contextId, const std::string& helpFile);
    void ShowHelp(const std::string& keyword, const std::string& helpFile);
    void ShowTopicHelp(const std::string& topic, const std::string& helpFile);
    void SoftShutDownAll();

    std::string GetHelpFile() const override { return requestHelpFile_; }
    std::uintptr_t GetHandle() const override { return 0; }
    void Release(int viewerId) override;

    std::size_t viewerCount() const { return viewers_.size(); }

  private:
    struct Registered {
        int id;
        std::shared_ptr<CustomHelpViewer> viewer;
    };

    HelpApplication application_;
    std::shared_ptr<WinHelpViewer> winHelpViewer_;
    std::vector<Registered> viewers_;
    std::shared_ptr<HelpSelector> selector_;
    std::string requestHelpFile_;
    int nextViewerId_ = 0;
};

}  // namespace mirvane::help
