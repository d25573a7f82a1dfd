#pragma once
// Recording stand-ins for the window's controls.
#include "base/Screen.h"

#include <string>
#include <vector>

namespace velmora::test {

class TRecordingLabel : public ITextLabel {
public:
  void SetCaption(const std::wstring &text) override {
    caption = text;
    captions.push_back(text);
  }
  std::wstring Caption() const override { return caption; }
  void SetVisible(bool v) override { visible = v; }

  std::wstring caption;
  std::vector<std::wstring> captions; // every caption set, in order
  bool visible = false;
};

class TRecordingReport : public IReportPane {
public:
  void Clear() override {
    lines.clear();
    ++clears;
  }
  void AppendLines(const std::vector<std::wstring> &more) override {
    lines.insert(lines.end(), more.begin(), more.end());
  }
  std::vector<std::wstring> Lines() const override { return lines; }
  void CaretToStart() override { caretAtStart = true; }
  void ScrollToEnd() override { scrolledToEnd = true; }

  std::vector<std::wstring> lines;
  int clears = 0;
  bool caretAtStart = false;
  bool scrolledToEnd = false;
};

class TRecordingBar : public IProgressBar {
public:
  void SetRange(int mn, int mx) override {
    minimum = mn;
    maximum = mx;
  }
  void SetStep(int s) override { step = s; }
  void SetPosition(int p) override { position = p; }
  int Position() const override { return position; }
  void StepIt() override {
    position += step;
    if (position > maximum)
      position = minimum; // a Windows progress bar wraps past its maximum
    ++steps;
  }

  int minimum = 0, maximum = 100, step = 1, position = 0, steps = 0;
};

} // namespace velmora::test
