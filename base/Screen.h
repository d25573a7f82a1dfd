#pragma once
// What the engines know of the screen: a text label, a report pane and a
// progress bar, plus a function that processes pending window messages.
// The window adapts its real controls to these; tests pass recording fakes.
#include <functional>
#include <string>
#include <vector>

namespace velmora {

class ITextLabel {
public:
  virtual ~ITextLabel() = default;
  virtual void SetCaption(const std::wstring &text) = 0;
  virtual std::wstring Caption() const = 0;
  virtual void SetVisible(bool visible) = 0;
};

// A read-only multi-line text box.
class IReportPane {
public:
  virtual ~IReportPane() = default;
  virtual void Clear() = 0;
  // Appends lines in one update (reports can be long; never line by line).
  virtual void AppendLines(const std::vector<std::wstring> &lines) = 0;
  virtual std::vector<std::wstring> Lines() const = 0;
  virtual void CaretToStart() = 0;
  virtual void ScrollToEnd() = 0;
};

class IProgressBar {
public:
  virtual ~IProgressBar() = default;
  virtual void SetRange(int minimum, int maximum) = 0;
  virtual void SetStep(int step) = 0;
  virtual void SetPosition(int position) = 0;
  virtual int Position() const = 0;
  virtual void StepIt() = 0;
};

// Processes the window messages waiting on the calling (GUI) thread.
using TMessagePump = std::function<void()>;

// Runs a call on the GUI thread and returns when it has completed there.
// Used by worker threads; the window services it while it pumps messages.
class IGuiDispatcher {
public:
  virtual ~IGuiDispatcher() = default;
  virtual void Synchronize(const std::function<void()> &call) = 0;
};

} // namespace velmora
