#pragma once
// The editor's pages: lists of control indices, one per page, of which one is shown.
// Controls on no list (the background, titles, the tab buttons) are always visible.
#include <array>
#include <functional>
#include <utility>
#include <vector>

class IGraphics;
class IKvTabButton;

class IKvPageSet
{
public:
  static constexpr int kPages = 3; // synthesizer, scope, About

  explicit IKvPageSet(IGraphics* owner) : graphics(owner) {}

  // Puts the control with this index on a page.
  void AddToPage(int page, int controlIdx);
  const std::vector<int>& Page(int page) const { return pages[std::size_t(page)]; }
  void SetTabButton(int page, IKvTabButton* button);
  // Shows the page's controls, hides the others' and lights only its tab.
  void ShowPage(int page);
  // Hides every control of a page (the builders do this for the pages not shown first).
  void HidePage(int page);
  int CurrentPage() const { return current; }
  // Told the page number each time a page is shown (the plug-in feeds that page's
  // live displays).
  void SetPageListener(std::function<void(int)> listener) { onShow = std::move(listener); }

private:
  IGraphics* graphics;
  std::array<std::vector<int>, kPages> pages;
  std::array<IKvTabButton*, kPages> tabs{};
  int current = 0;
  std::function<void(int)> onShow;
};
