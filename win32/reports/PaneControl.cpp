#include "win32/reports/PaneControl.h"

#include "win32/base/Win.h"
#include "text/Encoding.h"

namespace quenlit::win {

TextList& PaneControl::cached() const {
  if (!lines_) lines_ = splitLines(text(windowText(hwnd_)));
  return *lines_;
}

size_t PaneControl::lineCount() const { return cached().size(); }

Text PaneControl::line(size_t index) const {
  const TextList& l = cached();
  return index < l.size() ? l[index] : Text();
}

void PaneControl::insertLine(size_t index, TextView t) {
  TextList& l = cached();
  if (index > l.size()) index = l.size();
  l.insert(l.begin() + long(index), Text(t));
  changed();
}

void PaneControl::removeLine(size_t index) {
  TextList& l = cached();
  if (index >= l.size()) return;
  l.erase(l.begin() + long(index));
  changed();
}

void PaneControl::clear() {
  lines_ = TextList{};
  changed();
}

void PaneControl::beginUpdate() {
  if (depth_++ == 0) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void PaneControl::endUpdate() {
  if (depth_ == 0 || --depth_ > 0) return;
  if (dirty_) writeControl();
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
}

void PaneControl::changed() {
  dirty_ = true;
  if (depth_ == 0) writeControl();
}

void PaneControl::writeControl() {
  std::wstring all;
  const TextList& l = cached();
  for (size_t i = 0; i < l.size(); ++i) {
    if (i) all += L"\r\n";
    all.append(l[i].begin(), l[i].end());
  }
  writing_ = true;
  SetWindowTextW(hwnd_, all.c_str());
  writing_ = false;
  dirty_ = false;
}

void PaneControl::controlChanged() {
  if (!writing_ && depth_ == 0) lines_.reset();
}

void PaneControl::scrollTop() {
  const LRESULT caretLine = SendMessageW(hwnd_, EM_LINEFROMCHAR, WPARAM(-1), 0);
  SendMessageW(hwnd_, EM_LINESCROLL, 0, -caretLine);
  SendMessageW(hwnd_, EM_SETSEL, 0, 0);
  // The first line is shown even when the caret was not on the first visible line.
  const LRESULT first = SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
  if (first > 0) SendMessageW(hwnd_, EM_LINESCROLL, 0, -first);
  SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

PaneSelection PaneControl::selection() const {
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const LRESULT line = SendMessageW(hwnd_, EM_LINEFROMCHAR, WPARAM(start), 0);
  const LRESULT lineStart = SendMessageW(hwnd_, EM_LINEINDEX, WPARAM(line), 0);
  return PaneSelection{size_t(line), size_t(start) - size_t(lineStart), size_t(end - start)};
}

void PaneControl::select(const PaneSelection& s) {
  const LRESULT lineStart = SendMessageW(hwnd_, EM_LINEINDEX, WPARAM(s.line), 0);
  if (lineStart < 0) return;
  const size_t start = size_t(lineStart) + s.column;
  SendMessageW(hwnd_, EM_SETSEL, WPARAM(start), LPARAM(start + s.length));
}

}  // namespace quenlit::win
