// The window under errors it did not expect and under bad language packs:
// the error box, a usable window after it, and start-up whatever the packs.
#include "AppTestSupport.h"

#include "CookieCacheEntry.h"
#include "TestSupport.h"
#include "app/CookieCache.h"
#include "base/Handles.h"
#include "privacy/PrivacyScanner.h"

#include <new>
#include <stdexcept>

using namespace velmora;
using namespace velmora::test;

namespace {

// An engine whose message pump fails at its nth call, as an allocation or
// a library deep below a handler would.
template <class E>
std::unique_ptr<TPrivacyScanner> FailingScanner(TFormMain &form, int failAt, E error) {
  auto calls = std::make_shared<int>(0);
  auto scanner = std::make_unique<TPrivacyScanner>(
      DefaultPrivacyReportTexts(),
      [calls, failAt, error] {
        if (++*calls == failAt)
          throw error;
        ProcessMessages();
      },
      form.Config->FileName());
  scanner->PauseSteps = false;
  return scanner;
}

} // namespace

TEST_F(FormTest, AStandardErrorInAnalyzeShowsTheBoxAndLeavesTheViewAsBefore) {
  TFormMain &f = Open();
  f.RzCheckTree1->ApplySelection(kOnlyRunHistory);
  ASSERT_FALSE(f.btnPrivacyCleaner->Enabled());
  f.Scanner = FailingScanner(f, 3, std::bad_alloc());

  Press(*f.btnPrivaryAnalyze);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].Text.find(L"bad_alloc"), std::wstring::npos);
  EXPECT_EQ(boxes[0].Flags & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
  // The buttons as before the press, and no analysis thought to be running.
  EXPECT_EQ(f.btnPrivaryAnalyze->Caption(), L"Analyze");
  EXPECT_TRUE(f.btnPrivaryAnalyze->Enabled());
  EXPECT_FALSE(f.btnPrivacyCleaner->Enabled());
  EXPECT_FALSE(f.pbbarPri->Visible());
  EXPECT_FALSE(f.PrivacyBusy);
  EXPECT_TRUE(f.PrivacyAnalyzeIdle);
  // Leaving the view asks nothing: no analysis runs.
  ClickAt(*f.pnl1, CentreOf(*f.ImageNoteJunkFiles));
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Shown(f.pnlTemp->Handle()));

  // With a sound engine again the same press analyses.
  ClickAt(*f.pnl1, CentreOf(*f.ImageNotePrivacy));
  f.Scanner = std::make_unique<TPrivacyScanner>(DefaultPrivacyReportTexts(), &ProcessMessages,
                                                f.Config->FileName());
  f.Scanner->PauseSteps = false;
  Press(*f.btnPrivaryAnalyze);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(f.mmoPrivacy->Lines().front(), L"Privacy Analysis Report");
  EXPECT_TRUE(f.btnPrivacyCleaner->Enabled());
}

TEST_F(FormTest, AStandardErrorInCleanShowsTheBoxAndLeavesTheButtonsAsBefore) {
  TFormMain &f = Open();
  f.Scanner = FailingScanner(f, 5, std::runtime_error("the disk went away"));
  f.btnPrivacyCleaner->SetEnabled(true);

  Press(*f.btnPrivacyCleaner);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].Text.find(L"the disk went away"), std::wstring::npos);
  EXPECT_TRUE(f.btnPrivaryAnalyze->Enabled());
  EXPECT_TRUE(f.btnPrivacyCleaner->Enabled());
  EXPECT_FALSE(f.pbbarPri->Visible());
  EXPECT_FALSE(f.PrivacyCleaning);
}

// Start-up with packs that cannot be used: the window comes up with the
// English pack when it can be loaded, else with the built-in texts.
TEST_F(FormTest, StartUpWithUnusablePacksFallsBackToEnglishThenBuiltIn) {
  const std::string huge(50u << 20, '\n');
  std::string binary;
  for (int i = 0; i < 64 * 1024; ++i)
    binary += static_cast<char>((i * 7919 + 13) & 0xFF);
  const std::string english = "[Velmora_M]\r\npritip=English pack banner\r\n";
  const std::string german = "[Velmora_M]\r\npritip=Deutsches Banner\r\n";
  const std::wstring builtIn = L"Erase your activity history and surfing traces.";

  const struct {
    const char *name;
    std::wstring choice;
    bool withEnglish;
    bool lockGerman;
    std::wstring banner;
  } cases[] = {
      {"50 MB of newlines, no English", L"Huge", false, false, builtIn},
      {"50 MB of newlines, English there", L"Huge", true, false, L"English pack banner"},
      {"binary data, no English", L"Binary", false, false, builtIn},
      {"binary data, English there", L"Binary", true, false, L"English pack banner"},
      {"chosen pack unreadable, English and German there", L"German", true, true,
       L"English pack banner"},
      {"chosen pack missing, no English: not the last one listed", L"Klingon", false, false,
       builtIn},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    TScratchFolder program(L"startup-packs");
    MakeFolders(program / L"Language");
    WriteFileBytes(program / L"Language\\Huge.lng", huge);
    WriteFileBytes(program / L"Language\\Binary.lng", binary);
    WriteFileBytes(program / L"Language\\German.lng", german);
    if (c.withEnglish)
      WriteFileBytes(program / L"Language\\English.lng", english);
    UniqueFile lock;
    if (c.lockGerman)
      lock.Reset(CreateFileW((program / L"Language\\German.lng").c_str(), GENERIC_READ, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    TFormSettings settings;
    settings.ProgramFolder = program.Path();
    settings.LanguageChoice = c.choice;
    TFormMain &f = Open(std::move(settings));
    EXPECT_TRUE(IsWindowVisible(f.Handle()));
    EXPECT_EQ(f.Label_top->Caption(), c.banner);
    EXPECT_EQ(f.btnPrivaryAnalyze->Caption(), L"Analyze");
    form.reset();
  }
}

TEST(CookieListing, GoesOnPastAnEntryItCannotReadAndEndsOnWhatItCannotGetPast) {
  // One attempt after another: read or not, the error of a failed read,
  // the step that follows and the failures in a row afterwards.
  const struct {
    bool read;
    DWORD error;
    TCacheStep step;
    int failures;
  } attempts[] = {
      {true, 0, TCacheStep::Offer, 0},
      {false, ERROR_INSUFFICIENT_BUFFER, TCacheStep::Retry, 1}, // size changed in between
      {false, ERROR_INSUFFICIENT_BUFFER, TCacheStep::Retry, 2},
      {true, 0, TCacheStep::Offer, 0},                     // read at last: the count starts again
      {false, ERROR_FILE_NOT_FOUND, TCacheStep::Retry, 1}, // an entry gone meanwhile
      {false, ERROR_NO_MORE_ITEMS, TCacheStep::End, 1},
  };
  int failures = 0;
  for (size_t i = 0; i < std::size(attempts); ++i) {
    const auto &a = attempts[i];
    EXPECT_EQ(NextCacheStep(a.read, a.error, failures), a.step) << i;
    EXPECT_EQ(failures, a.failures) << i;
  }
  failures = 0;
  EXPECT_EQ(NextCacheStep(false, ERROR_INVALID_PARAMETER, failures), TCacheStep::End);
  // An error that does not go away ends the listing after a bounded number of tries.
  failures = 0;
  int tries = 0;
  while (NextCacheStep(false, ERROR_NOT_ENOUGH_MEMORY, failures) == TCacheStep::Retry)
    ++tries;
  EXPECT_EQ(tries, kMaxCacheFailures - 1);
}

TEST(CookieListing, ListsEveryPlantedCookieOfManySizes) {
  std::vector<std::unique_ptr<TCookieCacheEntry>> cookies;
  for (int i = 0; i < 40; ++i)
    cookies.push_back(std::make_unique<TCookieCacheEntry>(
        L"Cookie:user@sizes" + std::to_wstring(i) + L".example/" + std::wstring(i * 6, L'p'),
        static_cast<size_t>(i) * 100 + 1));
  for (const auto &cookie : cookies)
    ASSERT_TRUE(cookie->Ok());
  int found = 0;
  ListCookieCacheEntries(
      [&](const std::wstring &url) {
        if (url.find(L"@sizes") != std::wstring::npos)
          ++found;
        return true;
      },
      &ProcessMessages);
  EXPECT_EQ(found, 40);
}
