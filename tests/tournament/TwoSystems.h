#pragma once
// A fresh database with two scoring systems, "Standard" entered before
// "Alpha", so lists by name put them the other way round.

#include "support/DbTest.h"
#include "support/TestData.h"

class TwoSystems : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        standard = testdata::AddSystem({.name = "Standard"});
        alpha = testdata::AddSystem({.name = "Alpha"});
    }

    int standard = 0;
    int alpha = 0;
};
