#include "help/kel_html_help.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "help/recording_entry.h"

namespace mirvane::help {
namespace {

using testing::closedAll;
using testing::recordCall;
using testing::recordedCalls;
using testing::sent;
using testing::sentKeyword;

constexpr const char* kExecutable = "C:\\Archivos\\Mirvane\\mirvane.exe";
constexpr const char* kHelp = "C:\\Archivos\\Mirvane\\DELPHOS.chm";

TEST(HelpFile, ResolvesAgainstTheExecutablesFolder) {
    struct Case {
        const char* helpFile;
        const char* executable;
        const char* expected;
    };
    const Case cases[] = {
        {"DELPHOS.chm", kExecutable, kHelp},
        {"D:\\Ayuda\\DELPHOS.chm", kExecutable, "D:\\Ayuda\\DELPHOS.chm"},
        {"ayuda\\DELPHOS.chm", kExecutable, "ayuda\\DELPHOS.chm"},
        {"C:DELPHOS.chm", kExecutable, "C:DELPHOS.chm"},
        {"", kExecutable, ""},
        {"DELPHOS.chm", "/opt/mirvane/bin/mirvane", "/opt/mirvane/bin/DELPHOS.chm"},
        {"DELPHOS.chm", "mirvane.exe", "DELPHOS.chm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(inExecutableFolder(c.helpFile, c.executable), c.expected)
            << c.helpFile << " / " << c.executable;
}

TEST(HelpFile, IsAChmFileByItsLastExtension) {
    struct Case {
        const char* name;
        bool chm;
    };
    const Case cases[] = {
        {"DELPHOS.chm", true},
        {"DELPHOS.CHM", true},
        {"C:\\Ayuda\\Delphos.Chm", true},
        {"DELPHOS.chm.bak", false},
        {"C:\\ayuda.chm\\DELPHOS", false},
        {"DELPHOS.hlp", false},
        {"DELPHOS", false},
        {".chm", true},
        {"", false},
        {"DELPHOS.chmx", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isChmFile(c.name), c.chm) << c.name;
}

// The bridge installed in a help system, with a recording HTML Help entry.
class KelHtmlHelpTest : public ::testing::Test {
  protected:
    KelHtmlHelpTest() {
        recordedCalls().clear();
        helpSystem.application().setHelpFile(kHelpFileName);
    }
    TKelHtmlHelpViewer& viewer() { return bridge.viewer(); }

    HelpSystem helpSystem;
    KelHtmlHelp bridge{helpSystem, HtmlHelpEngine(recordCall), kExecutable};
};

TEST_F(KelHtmlHelpTest, TheHelpFileComesFromTheRequestThenTheFormThenTheApplication) {
    EXPECT_EQ(viewer().ResolvedHelpFile(), kHelp);
    helpSystem.application().setActiveFormHelpFile("HORA.chm");
    EXPECT_EQ(viewer().ResolvedHelpFile(), "C:\\Archivos\\Mirvane\\HORA.chm");
    helpSystem.ShowContextHelp(7, "D:\\OTRO.chm");
    EXPECT_EQ(viewer().ResolvedHelpFile(), "D:\\OTRO.chm");
}

TEST_F(KelHtmlHelpTest, TopicsArePagesOfTheHelpFile) {
    struct Case {
        const char* topic;
        const char* sentText;
    };
    const Case cases[] = {
        {"alumnos", "C:\\Archivos\\Mirvane\\DELPHOS.chm::/alumnos.htm"},
        {"alumnos.HTML", "C:\\Archivos\\Mirvane\\DELPHOS.chm::/alumnos.HTML"},
        {"alumnos.htm", "C:\\Archivos\\Mirvane\\DELPHOS.chm::/alumnos.htm"},
        {"alumnos.txt", "C:\\Archivos\\Mirvane\\DELPHOS.chm::/alumnos.txt.htm"},
    };
    for (const auto& c : cases) {
        recordedCalls().clear();
        viewer().DisplayTopic(c.topic);
        EXPECT_EQ(recordedCalls(), (std::vector{sent(HH_DISPLAY_TOPIC, c.sentText)})) << c.topic;
    }
}

TEST_F(KelHtmlHelpTest, ShowHelpSendsTheKeywordAfterTheFirstColonTrimmed) {
    struct Case {
        const char* entry;
        const char* keyword;
    };
    const Case cases[] = {
        {"KelHtmlHelp: horario ", "horario"},
        {"horario", "horario"},
        {"\t horario\n", "horario"},
        {"KelHtmlHelp: hora: inicio", "hora: inicio"},
        {"KelHtmlHelp:", ""},
    };
    for (const auto& c : cases) {
        recordedCalls().clear();
        viewer().ShowHelp(c.entry);
        EXPECT_EQ(recordedCalls(), (std::vector{sentKeyword(kHelp, c.keyword)})) << c.entry;
    }
}

TEST_F(KelHtmlHelpTest, SelectorChoosesItsOwnEntries) {
    using Entries = std::vector<std::string>;
    struct Case {
        Entries entries;
        int keyword;   // SelectKeyword
        int contents;  // TableOfContents, on the same texts
    };
    const Case cases[] = {
        {{"KelHtmlHelp: horario", "WinHelp: horario"}, 0, -1},
        {{": horario", "KelHtmlHelp: horario"}, 1, -1},
        {{"WinHelp: horario", ": horario"}, 0, -1},
        {{"kelhtmlhelp: horario", "KelHtmlHelp"}, 1, 1},
        {{"WinHelp", "KELHTMLHELP", "KelHtmlHelp"}, 2, 1},
        {{}, 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(viewer().SelectKeyword(c.entries), c.keyword)
            << ::testing::PrintToString(c.entries);
        EXPECT_EQ(viewer().TableOfContents(c.entries), c.contents)
            << ::testing::PrintToString(c.entries);
    }
}

TEST_F(KelHtmlHelpTest, AnswersForAnyKeywordOrTopicWhileTheHelpFileIsAChmFile) {
    EXPECT_EQ(viewer().UnderstandsKeyword(""), 1);
    EXPECT_EQ(viewer().UnderstandsKeyword("horario"), 1);
    EXPECT_TRUE(viewer().UnderstandsTopic("alumnos"));
    EXPECT_EQ(viewer().GetHelpStrings("horario"), std::vector<std::string>{"KelHtmlHelp: horario"});
    // A context is judged by the file handed in, not the resolved one.
    EXPECT_TRUE(viewer().UnderstandsContext(1, "X.CHM"));
    EXPECT_FALSE(viewer().UnderstandsContext(1, "DELPHOS.hlp"));
    EXPECT_FALSE(viewer().UnderstandsContext(1, ""));

    helpSystem.application().setHelpFile("DELPHOS.hlp");
    EXPECT_EQ(viewer().UnderstandsKeyword(""), 0);
    EXPECT_FALSE(viewer().UnderstandsTopic("alumnos"));
}

TEST_F(KelHtmlHelpTest, NothingIsSentWithoutAChmFile) {
    for (const char* file : {"DELPHOS.hlp", "", "DELPHOS.chm.bak"}) {
        helpSystem.application().setHelpFile(file);
        viewer().ShowTableOfContents();
        viewer().ShowHelp("horario");
        viewer().DisplayTopic("alumnos");
        viewer().DisplayHelpByContext(1, "DELPHOS.chm");  // the file handed in is not used
        EXPECT_TRUE(recordedCalls().empty()) << file;
    }
}

TEST_F(KelHtmlHelpTest, TheSendingStep) {
    viewer().Send(HH_GET_LAST_ERROR, kHelp, 0);
    EXPECT_TRUE(recordedCalls().empty());

    viewer().Send(HH_HELP_CONTEXT, kHelp, 1);
    viewer().SoftShutDown();
    viewer().ShowTableOfContents();
    EXPECT_EQ(recordedCalls(), (std::vector{sent(HH_HELP_CONTEXT, kHelp, 1), closedAll(),
                                            sent(HH_DISPLAY_TOC, kHelp)}));
}

TEST_F(KelHtmlHelpTest, ShutDownClosesTheHelpWindowsAndDropsTheManager) {
    helpSystem.ShowContextHelp(1, "D:\\OTRO.chm");
    viewer().ShutDown();
    EXPECT_EQ(recordedCalls(),
              (std::vector{sent(HH_HELP_CONTEXT, "D:\\OTRO.chm", 1), closedAll()}));
    // Without the manager the request's file is no longer asked for.
    EXPECT_EQ(viewer().ResolvedHelpFile(), kHelp);
}

TEST_F(KelHtmlHelpTest, F1ShowsTheMainWindowsContext) {
    showMainWindowHelp(helpSystem);
    EXPECT_EQ(recordedCalls(), (std::vector{sent(HH_HELP_CONTEXT, kHelp, 1)}));
}

TEST_F(KelHtmlHelpTest, F1WithAHelpFileThatIsNotChmShowsNothing) {
    helpSystem.application().setHelpFile("DELPHOS.hlp");
    showMainWindowHelp(helpSystem);
    EXPECT_TRUE(recordedCalls().empty());
}

TEST_F(KelHtmlHelpTest, HelpButtonShowsTheContentsOfDelphosChmAgain) {
    helpSystem.application().setHelpFile("OTRO.hlp");
    showHelpContents(helpSystem);
    EXPECT_EQ(recordedCalls(), (std::vector{sent(HH_DISPLAY_TOC, kHelp)}));
}

TEST_F(KelHtmlHelpTest, ContentsWithTheViewerAloneInTheHelpSystem) {
    helpSystem.Release(1);  // the WinHelp viewer, registered first
    ASSERT_EQ(helpSystem.viewerCount(), 1u);
    showHelpContents(helpSystem);
    EXPECT_EQ(recordedCalls(), (std::vector{sent(HH_DISPLAY_TOC, kHelp)}));
}

TEST_F(KelHtmlHelpTest, KeywordsAndTopicsReachTheViewerThroughTheHelpSystem) {
    helpSystem.HelpKeyword("horario");
    helpSystem.HelpTopic("alumnos");
    EXPECT_EQ(recordedCalls(),
              (std::vector{sentKeyword(kHelp, "horario"),
                           sent(HH_DISPLAY_TOPIC, std::string(kHelp) + "::/alumnos.htm")}));

    helpSystem.application().setHelpFile("DELPHOS.hlp");
    EXPECT_THROW(
        {
            try {
                helpSystem.HelpKeyword("horario");
            } catch (const Error& error) {
                EXPECT_STREQ(error.what(), "No help found for horario");
                throw;
            }
        },
        Error);
}

TEST_F(KelHtmlHelpTest, QuitClosesEveryHelpWindow) {
    helpSystem.HelpCommand(kHelpQuit, 0);
    EXPECT_EQ(recordedCalls(), (std::vector{closedAll()}));
}

TEST(KelHtmlHelp, TheWinHelpViewerNeverAnswersOnceTheTesterIsInstalled) {
    HelpSystem helpSystem;
    KelHtmlHelp bridge(helpSystem, HtmlHelpEngine(), kExecutable);
    auto& winHelp = helpSystem.winHelpViewer();
    EXPECT_EQ(winHelp.UnderstandsKeyword("horario"), 0);
    EXPECT_FALSE(winHelp.UnderstandsTopic("alumnos"));
    EXPECT_FALSE(winHelp.UnderstandsContext(1, "DELPHOS.chm"));
    EXPECT_EQ(winHelp.GetHelpStrings("horario"), std::vector<std::string>{": horario"});
}

TEST(KelHtmlHelp, WithoutAnEngineRequestsAreAcceptedAndNothingIsSent) {
    recordedCalls().clear();
    HelpSystem helpSystem;
    helpSystem.application().setHelpFile(kHelpFileName);
    KelHtmlHelp bridge(helpSystem, HtmlHelpEngine::load(), kExecutable);
    EXPECT_EQ(bridge.viewer().UnderstandsKeyword("horario"), 1);
    showMainWindowHelp(helpSystem);
    showHelpContents(helpSystem);
    helpSystem.HelpKeyword("horario");
    bridge.viewer().SoftShutDown();
    EXPECT_TRUE(recordedCalls().empty());
}

TEST(KelHtmlHelp, AtProgramEndTheViewerLeavesTheHelpSystemSilently) {
    recordedCalls().clear();
    HelpSystem helpSystem;
    helpSystem.application().setHelpFile(kHelpFileName);
    {
        KelHtmlHelp bridge(helpSystem, HtmlHelpEngine(recordCall), kExecutable);
        EXPECT_EQ(bridge.viewer().viewerId(), 2);
        EXPECT_EQ(helpSystem.viewerCount(), 2u);
    }
    EXPECT_EQ(helpSystem.viewerCount(), 1u);
    showMainWindowHelp(helpSystem);
    showHelpContents(helpSystem);
    EXPECT_TRUE(recordedCalls().empty());  // not even HH_CLOSE_ALL
}

}  // namespace
}  // namespace mirvane::help
