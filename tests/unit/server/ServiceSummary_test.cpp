// The service page's summaries of an entry: which sections show, their
// texts, and that exactly the values differing from the pre-filled ones are
// emphasised.
#include <gtest/gtest.h>

#include <windows.h>

#include "server/ServiceSummary.h"

using namespace service_config;
using fw::TextRun;

namespace {
// Texts by id, so that every run names where it comes from.
std::wstring Texts(UINT id) { return L"<" + std::to_wstring(id) + L">"; }

ServiceSettings Prefilled() {
    ServiceSettings entry;
    entry.webPort = 4646;
    entry.sslPort = 4647;
    entry.KeepInitialValues();
    return entry;
}

std::vector<TextRun> Emphasised(const std::vector<TextRun>& runs) {
    std::vector<TextRun> result;
    for (const TextRun& run : runs)
        if (run.emphasised) result.push_back(run);
    return result;
}
}  // namespace

TEST(ServiceSummary, UnchangedEntryShowsAllSectionsPlain) {
    auto sections = ComposeSummaries(Prefilled(), Texts);
    EXPECT_TRUE(sections[0].shown && sections[1].shown && sections[2].shown);
    EXPECT_EQ(sections[0].title, L"<1177>");
    EXPECT_EQ(fw::JoinRuns(sections[0].runs), L"<1180>: 4646");
    EXPECT_EQ(sections[1].title, L"<1178>");
    EXPECT_EQ(fw::JoinRuns(sections[1].runs), L"<1191>") << "the SSL server is off by default";
    EXPECT_EQ(sections[2].title, L"<1182>");
    EXPECT_EQ(fw::JoinRuns(sections[2].runs), L"<1184>: <1217>, <1185>: <1187>");
    for (const auto& section : sections) EXPECT_TRUE(Emphasised(section.runs).empty());
}

TEST(ServiceSummary, ChangedPortIsTheOnlyEmphasisedRun) {
    ServiceSettings entry = Prefilled();
    entry.webPort = 5000;
    auto sections = ComposeSummaries(entry, Texts);
    EXPECT_EQ(sections[0].runs, (std::vector<TextRun>{{L"<1180>: ", false}, {L"5000", true}}));
    EXPECT_TRUE(Emphasised(sections[1].runs).empty());
    EXPECT_TRUE(Emphasised(sections[2].runs).empty());
}

TEST(ServiceSummary, SwitchingAServerShowsItsNewStateEmphasised) {
    ServiceSettings entry = Prefilled();
    entry.webEnabled = false;
    entry.sslEnabled = true;
    auto sections = ComposeSummaries(entry, Texts);
    EXPECT_EQ(sections[0].runs, (std::vector<TextRun>{{L"<1191>", true}}));
    EXPECT_EQ(sections[1].runs, (std::vector<TextRun>{{L"<1180>: ", false}, {L"4647", true}}));
}

TEST(ServiceSummary, PortOfADisabledServerIsNotShown) {
    ServiceSettings entry = Prefilled();
    entry.sslPort = 9999;  // still off
    auto sections = ComposeSummaries(entry, Texts);
    EXPECT_EQ(sections[1].runs, (std::vector<TextRun>{{L"<1191>", false}}));
}

TEST(ServiceSummary, StartTypesAndAccountsByTheirTexts) {
    const std::pair<int, UINT> startTypes[] = {{kAutomatic, 1217}, {kOnDemand, 1218}, {kDisabled, 1220}, {kAutomaticDelayed, 1219}};
    for (auto [startType, id] : startTypes) {
        ServiceSettings entry = Prefilled();
        entry.startType = startType;
        auto runs = ComposeSummaries(entry, Texts)[2].runs;
        ASSERT_EQ(runs.size(), 4u);
        EXPECT_EQ(runs[1], (TextRun{Texts(id), startType != kAutomatic}));
    }
    const std::pair<int, UINT> accounts[] = {{kLocalSystem, 1187}, {kLocalService, 1186}, {kNetworkService, 1188}};
    for (auto [kind, id] : accounts) {
        ServiceSettings entry = Prefilled();
        entry.accountKind = kind;
        EXPECT_EQ(ComposeSummaries(entry, Texts)[2].runs[3], (TextRun{Texts(id), kind != kLocalSystem}));
    }
}

TEST(ServiceSummary, OtherUserShowsTheNameAndAnotherNameIsAChange) {
    ServiceSettings entry = Prefilled();
    entry.accountKind = kOtherUser;
    entry.userName = L".\\svc";
    entry.KeepInitialValues();
    EXPECT_EQ(ComposeSummaries(entry, Texts)[2].runs[3], (TextRun{L".\\svc", false}));
    entry.userName = L"DOMAIN\\other";
    EXPECT_EQ(ComposeSummaries(entry, Texts)[2].runs[3], (TextRun{L"DOMAIN\\other", true}));
}

TEST(ServiceSummary, SectionsFollowSslOfferedAndHasService) {
    ServiceSettings entry = Prefilled();
    entry.sslOffered = false;
    entry.hasService = false;
    auto sections = ComposeSummaries(entry, Texts);
    EXPECT_TRUE(sections[0].shown);
    EXPECT_FALSE(sections[1].shown);
    EXPECT_FALSE(sections[2].shown);
    EXPECT_TRUE(sections[1].runs.empty() && sections[2].runs.empty());
}
