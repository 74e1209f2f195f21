#include "scoring/SystemChoices.h"
#include "support/DbTest.h"
#include "support/TestData.h"

#include <QComboBox>

using namespace testdata;

class SystemChoices : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        beta = AddSystem({.name = "Beta"});
        alpha = AddSystem({.name = "Alpha"});
        gamma = AddSystem({.name = "Gamma"});
    }
    static QStringList Texts(const std::vector<SystemChoice>& choices)
    {
        QStringList texts;
        for (const SystemChoice& c : choices) texts << c.text;
        return texts;
    }
    static std::vector<int> Values(const std::vector<SystemChoice>& choices)
    {
        std::vector<int> values;
        for (const SystemChoice& c : choices) values.push_back(c.value);
        return values;
    }
    int alpha = 0, beta = 0, gamma = 0;
};

TEST_F(SystemChoices, ListTheDefaultSystemTwiceInNameOrder)
{
    auto choices = ScoringSystemChoices(beta);
    EXPECT_EQ(Texts(choices), (QStringList{"Alpha", "Beta (default)", "Beta (hard-set)", "Gamma"}));
    EXPECT_EQ(Values(choices), (std::vector<int>{alpha, 0, beta, gamma}));

    choices = ScoringSystemChoices(gamma);
    EXPECT_EQ(Texts(choices), (QStringList{"Alpha", "Beta", "Gamma (default)", "Gamma (hard-set)"}));

    // Without a default system every system stands for itself.
    choices = ScoringSystemChoices(-1);
    EXPECT_EQ(Texts(choices), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(Values(choices), (std::vector<int>{alpha, beta, gamma}));
}

TEST_F(SystemChoices, FillADropDownListQuietly)
{
    QComboBox combo;
    combo.addItem("stale");
    int changes = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&changes] { ++changes; });
    const auto choices = ScoringSystemChoices(beta);

    EXPECT_EQ(FillSystemCombo(&combo, choices, 0), 1);
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.currentText(), "Beta (default)");
    EXPECT_EQ(combo.itemData(3).toInt(), gamma);

    EXPECT_EQ(FillSystemCombo(&combo, choices, beta), 2);
    EXPECT_EQ(combo.currentText(), "Beta (hard-set)");
    EXPECT_EQ(FillSystemCombo(&combo, choices, gamma + 10), -1);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(changes, 0);
}
