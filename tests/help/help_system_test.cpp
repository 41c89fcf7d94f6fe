#include "help/help_system.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/error.h"

namespace mirvane::help {
namespace {

// What the scripted viewers were asked to show, in order.
using Shown = std::vector<std::string>;

// A viewer that answers as it is told and notes what it shows.
class ScriptedViewer : public ExtendedHelpViewer {
  public:
    ScriptedViewer(std::string name, Shown& shown) : name_(std::move(name)), shown_(shown) {}

    bool keywords = false, contents = false, topics = false, contexts = false;
    int id = 0;

    std::string GetViewerName() override { return name_; }
    int UnderstandsKeyword(const std::string&) override { return keywords ? 1 : 0; }
    std::vector<std::string> GetHelpStrings(const std::string& keyword) override {
        return {name_ + ": " + keyword};
    }
    bool CanShowTableOfContents() override { return contents; }
    void ShowTableOfContents() override { shown_.push_back(name_ + " contents"); }
    void ShowHelp(const std::string& entry) override { shown_.push_back(name_ + " " + entry); }
    void NotifyID(int viewerId) override { id = viewerId; }
    void SoftShutDown() override { shown_.push_back(name_ + " soft shutdown"); }
    void ShutDown() override { shown_.push_back(name_ + " shutdown"); }
    bool UnderstandsTopic(const std::string&) override { return topics; }
    void DisplayTopic(const std::string& topic) override { shown_.push_back(name_ + " " + topic); }
    bool UnderstandsContext(int, const std::string&) override { return contexts; }
    void DisplayHelpByContext(int id, const std::string& file) override {
        shown_.push_back(name_ + " " + std::to_string(id) + " " + file);
    }

  private:
    std::string name_;
    Shown& shown_;
};

// Picks a fixed position and remembers the list it was given.
class FixedSelector : public HelpSelector {
  public:
    explicit FixedSelector(int position) : position_(position) {}
    std::vector<std::string> given;
    int SelectKeyword(const std::vector<std::string>& entries) override {
        given = entries;
        return position_;
    }
    int TableOfContents(const std::vector<std::string>& names) override {
        given = names;
        return position_;
    }

  private:
    int position_;
};

class HelpSystemTest : public ::testing::Test {
  protected:
    std::shared_ptr<ScriptedViewer> add(const std::string& name) {
        auto viewer = std::make_shared<ScriptedViewer>(name, shown);
        EXPECT_EQ(&helpSystem.RegisterViewer(viewer), &helpSystem);
        return viewer;
    }

    Shown shown;
    HelpSystem helpSystem;
};

TEST_F(HelpSystemTest, ViewersGetTheirIdsInRegistrationOrderAfterWinHelp) {
    auto first = add("Uno");
    auto second = add("Dos");
    EXPECT_EQ(first->id, 2);
    EXPECT_EQ(second->id, 3);
    helpSystem.Release(first->id);
    EXPECT_EQ(helpSystem.viewerCount(), 2u);
    EXPECT_EQ(helpSystem.GetHandle(), 0u);
}

TEST_F(HelpSystemTest, ContentsAreChosenBySortedNameThroughTheSelector) {
    auto zeta = add("Zeta");
    auto alfa = add("Alfa");
    add("Beta");
    zeta->contents = alfa->contents = true;
    auto selector = std::make_shared<FixedSelector>(2);
    helpSystem.setHelpSelector(selector);

    helpSystem.HelpCommand(kHelpContents, 0);
    EXPECT_EQ(selector->given, (std::vector<std::string>{"Alfa", "WinHelp", "Zeta"}));
    EXPECT_EQ(shown, Shown{"Zeta contents"});

    shown.clear();
    helpSystem.setHelpSelector(std::make_shared<FixedSelector>(7));  // out of range: nothing
    helpSystem.ShowTableOfContents();
    EXPECT_TRUE(shown.empty());
}

TEST_F(HelpSystemTest, ContentsWithOneViewerNeedNoSelector) {
    helpSystem.Release(1);
    auto only = add("Uno");
    helpSystem.ShowTableOfContents();
    EXPECT_TRUE(shown.empty());  // it cannot
    only->contents = true;
    helpSystem.ShowTableOfContents();
    EXPECT_EQ(shown, Shown{"Uno contents"});
}

TEST_F(HelpSystemTest, ContextGoesToTheFirstViewerThatUnderstandsIt) {
    helpSystem.application().setHelpFile("A.chm");
    helpSystem.HelpContext(1);
    EXPECT_TRUE(shown.empty());  // none does: nothing happens

    auto first = add("Uno");
    auto second = add("Dos");
    second->contexts = true;
    helpSystem.HelpCommand(kHelpContext, 5);
    first->contexts = true;
    helpSystem.HelpContext(1);
    EXPECT_EQ(shown, (Shown{"Dos 5 A.chm", "Uno 1 A.chm"}));
    EXPECT_EQ(helpSystem.GetHelpFile(), "A.chm");
}

TEST_F(HelpSystemTest, TopicGoesToTheFirstViewerThatUnderstandsIt) {
    auto first = add("Uno");
    auto second = add("Dos");
    second->topics = true;
    helpSystem.HelpTopic("alumnos");
    EXPECT_EQ(shown, Shown{"Dos alumnos"});
}

TEST_F(HelpSystemTest, Keywords) {
    // None understands it: the error names the keyword.
    try {
        helpSystem.HelpKeyword("horario");
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "No help found for horario");
    }

    auto zeta = add("Zeta");
    auto alfa = add("Alfa");
    add("Beta");
    zeta->keywords = true;
    helpSystem.HelpKeyword("horario");
    EXPECT_EQ(shown, Shown{"Zeta horario"});  // one: its ShowHelp with the bare keyword

    // Several: their sorted help strings go to the selector, the entry to its viewer.
    shown.clear();
    alfa->keywords = true;
    auto selector = std::make_shared<FixedSelector>(1);
    helpSystem.setHelpSelector(selector);
    helpSystem.HelpKeyword("horario");
    EXPECT_EQ(selector->given, (std::vector<std::string>{"Alfa: horario", "Zeta: horario"}));
    EXPECT_EQ(shown, Shown{"Zeta Zeta: horario"});
}

TEST_F(HelpSystemTest, QuitAndTheEndOfTheHelpSystemShutViewersDown) {
    auto viewer = add("Uno");
    helpSystem.HelpCommand(kHelpQuit, 0);
    EXPECT_EQ(shown, Shown{"Uno soft shutdown"});
    EXPECT_FALSE(helpSystem.HelpCommand(4, 0));  // other WinHelp commands: no viewer for them
    {
        Shown ended;
        auto survivor = std::make_shared<ScriptedViewer>("Dos", ended);
        {
            HelpSystem shortLived;
            shortLived.RegisterViewer(survivor);
        }
        EXPECT_EQ(ended, Shown{"Dos shutdown"});
    }
}

TEST(HelpApplication, TheActiveFormsHelpFileComesFirst) {
    HelpApplication application;
    EXPECT_EQ(application.currentHelpFile(), "");
    application.setHelpFile("DELPHOS.chm");
    EXPECT_EQ(application.currentHelpFile(), "DELPHOS.chm");
    application.setActiveFormHelpFile("HORA.chm");
    EXPECT_EQ(application.currentHelpFile(), "HORA.chm");
}

}  // namespace
}  // namespace mirvane::help
