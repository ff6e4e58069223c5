#pragma once

#include <array>

#include "window/screen.h"

class RankingArea;

// The ranking screen: how many titles share each director, lead actor,
// release year-month (or year), country and genre.
class RankScreen : public Screen {
    Q_OBJECT
public:
    explicit RankScreen(frmMain& window);

    // Switches the release ranking between year-months and years.
    void lblKoukaiChg_Click();

protected:
    void Fill() override;
    QString HelpText() const override;

private:
    void ShowReleaseMonths();
    void ShowReleaseYears();

    // 0 directors, 1 lead actors, 2 release, 3 countries, 4 genres.
    std::array<RankingArea*, 5> Frame6_{};
};
