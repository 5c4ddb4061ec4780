#include "dialogs/dialog_researchu.h"

#include <algorithm>
#include <string>

#include "app/device_objects.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/format.h"
#include "foundation/gui_layout.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/texture_holder.h"
#include "platform/codes.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::array<const char*, cDialogResearchu::kRowCount> kRowKeys = {
    "research_artillery",  "research_tanks",    "research_aircraft",
    "research_submarines", "research_warships", "research_nuclear"};

constexpr std::array<const char*, cDialogResearchu::kMaxInvestment + 1> kInvestmentHints = {
    "research_investment_level0_hint", "research_investment_level1_hint", "research_investment_level2_hint",
    "research_investment_level3_hint"};

// The price of a field that cannot be bought.
constexpr float kNoPrice = -1.0f;

// Row k of a column: the column record's x, width and height, k + 1 rows of
// the record's height and a gap of 10 below the record's y.
Rect RowRect(int column, int row) {
  Rect xywh;
  if (Failed(CDXUTDialog::GetLayoutRect(column, &xywh))) return Rect{};
  xywh.top += (row + 1) * (xywh.bottom + 10);
  return xywh;
}

// The investment level's cell of the picture strip. The strip's record holds
// the first cell's corners, as the toolbar background that shares it reads
// them; the cells lie one under the other.
Rect InvestmentCell(std::int32_t level) {
  const sGuiLayoutEntry& strip = sGuiLayoutTable[cDialogResearchu::kInvestmentStrip];
  const int height = strip.height - strip.y;
  const int top = strip.y + level * height;
  return Rect{strip.x, top, strip.width, top + height};
}

CDXUTEditBox* AddValueField(cDialog& dialog, int id, const Rect& at, std::u16string_view text,
                            std::u16string_view hint) {
  CDXUTEditBox* field = nullptr;
  if (Failed(dialog.AddEditBox(id, text, at.left, at.top, at.right, at.bottom, false, &field))) return nullptr;
  field->SetHint(hint);
  field->SetEnabled(false);
  return field;
}

}  // namespace

cDialogResearchu::cDialogResearchu()
    : cDialog(kDialogId, DialogRecord(kDialogId)),
      country_(gGame != nullptr ? gGame->playerControl.currentCountry : nullptr) {
  AddDialogTitle(*this, kTitle, GetText("research_title"));
  Texture* skin = GlobalTextureRecord(kTextureGuiSkin).GetTexture();
  for (int k = 0; k < kRowCount; ++k) {
    const std::string key = kRowKeys[static_cast<std::size_t>(k)];
    AddValueField(*this, kRowLabel + k, RowRect(kFirstColumn, k), GetText(key), GetText(key + "_hint"));
    AddValueField(*this, kLevelField + k, RowRect(kFirstColumn + 1, k), u"-", GetText("research_technology_level_hint"));
    const Rect picture = RowRect(kFirstColumn + 2, k);
    CDXUTImage* image = nullptr;
    if (Succeeded(AddImage(kInvestmentImage + k, skin, InvestmentCell(0), picture.left, picture.top, picture.right,
                           picture.bottom, 0, false, &image))) {
      image->SetHint(GetText("research_investment_hint"));
      // Enabled images are hit-tested, so they show their hints.
      image->SetEnabled(true);
    }
    AddValueField(*this, kProgressField + k, RowRect(kFirstColumn + 3, k), u"-", GetText("research_progress_hint"));
    AddValueField(*this, kPriceField + k, RowRect(kFirstColumn + 4, k), u"-", GetText("research_price_hint"));
    const Rect button = RowRect(kFirstColumn + 5, k);
    CDXUTButton* invest = nullptr;
    if (Succeeded(AddButton(kInvestButton + k, GetText("research_invest"), button.left, button.top, button.right,
                            button.bottom, 0, false, &invest))) {
      invest->SetHint(GetText("research_invest_hint"));
    }
  }
  AddKeyButton(*this, kCloseButton, "research_close");
  Refresh();
}

void cDialogResearchu::Refresh() {
  if (country_ == nullptr || gGame == nullptr) return;
  const sScenarioConstants& constants = gGame->constants;
  const auto productionPoints = static_cast<float>(country_->productionPoints);
  for (int tech = 0; tech < kTechCount; ++tech) {
    const int needed = constants.ResearchTableA(tech);
    if (tech == kDoctrineTech || needed <= 0) {
      // A field needing no points for a level has no price to divide out.
      prices_[static_cast<std::size_t>(tech)] = kNoPrice;
      continue;
    }
    const auto left = static_cast<float>(needed - country_->researchProgress[static_cast<std::size_t>(tech)]);
    // Progress past what a level needs costs nothing more, and never pays.
    prices_[static_cast<std::size_t>(tech)] =
        std::max(0.0f, left * constants.ResearchFactor(tech) / static_cast<float>(needed));
  }
  for (int k = 0; k < kRowCount; ++k) ShowRow(k, productionPoints);
}

void cDialogResearchu::ShowRow(int row, float productionPoints) {
  const int tech = kRowTech[static_cast<std::size_t>(row)];
  const auto slot = static_cast<std::size_t>(tech);
  const sScenarioConstants& constants = gGame->constants;
  const std::int32_t level = country_->techLevels[slot];
  const std::int32_t investment = country_->techInvestments[slot];
  const std::int32_t progress = country_->researchProgress[slot];
  const int needed = constants.ResearchTableA(tech);
  const float price = prices_[slot];
  const auto setText = [&](int id, std::u16string_view text) {
    if (auto* field = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox))) field->SetText(text);
  };
  setText(kLevelField + row, Format(u"%i", level));
  if (investment >= 0 && investment <= kMaxInvestment) {
    if (auto* image = static_cast<CDXUTImage*>(GetControlOfType(kInvestmentImage + row, kControlImage))) {
      image->SetSourceRect(InvestmentCell(investment));
      image->SetHint(GetText(kInvestmentHints[static_cast<std::size_t>(investment)]));
    }
  }
  setText(kProgressField + row, Format(u"%i/%i", progress, needed));
  setText(kPriceField + row, price < 0.0f ? u"-" : Format(GetText("%.0f_pp"), static_cast<double>(price)));

  std::u16string reason;
  if (price < 0.0f || level >= constants.ResearchTableB(tech)) {
    reason = GetText("research_invest_hint_max_level_reached");
  } else if (investment >= kMaxInvestment) {
    reason = GetText("research_invest_hint_max_investment");
  } else if (productionPoints < price) {
    reason = Format(GetText("research_invest_hint_not_enough_pp"), static_cast<double>(price));
  }
  if (auto* button = static_cast<CDXUTButton*>(GetControlOfType(kInvestButton + row, kControlButton))) {
    button->SetEnabled(reason.empty());
    button->SetHint(reason.empty() ? GetText("research_invest_hint") : reason);
  }
}

void cDialogResearchu::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId == kCloseButton) {
    CloseAnsweredDialog(this, serial());
    return;
  }
  const int row = controlId - kInvestButton;
  if (row < 0 || row >= kRowCount || country_ == nullptr) return;
  // The button is enabled only where the investment is allowed; a field
  // without a price is never bought, whatever sends the click.
  const auto slot = static_cast<std::size_t>(kRowTech[static_cast<std::size_t>(row)]);
  if (prices_[slot] < 0.0f) return;
  country_->AddProductionPoints(-static_cast<double>(prices_[slot]));
  ++country_->techInvestments[slot];
  Refresh();
}

void cDialogResearchu::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (down && (key == VK_RETURN || key == VK_ESCAPE)) PressButton(*this, kCloseButton);
}

}  // namespace tr
