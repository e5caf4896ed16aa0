// The engine's own reader takes the committed files and finds in them the
// same values as the independent reader of these tests.
#include <gtest/gtest.h>

#include "physics_files.h"
#include "physics_tables.h"

namespace {

const std::filesystem::path DATA_DIR = PHYSICS_DATA_DIR;

TEST(EngineReader, ReadsTheCommittedFilesAsWritten) {
  const physics_files::Tables mine = physics_files::ReadTables(DATA_DIR);
  const tsl2::PhysicsTables engine = tsl2::ReadPhysicsTables(DATA_DIR);
  ASSERT_EQ(engine.SoftRowCount, mine.softRowCount);
  for (int r = 1; r <= mine.softRowCount; ++r) {
    SCOPED_TRACE(r);
    EXPECT_FLOAT_EQ(engine.SoftEnergy[r], mine.softEnergy[r]);
    EXPECT_FLOAT_EQ(engine.SoftCoef1[r], mine.softCoef1[r]);
    EXPECT_FLOAT_EQ(engine.SoftCoef2[r], mine.softCoef2[r]);
    EXPECT_FLOAT_EQ(engine.SoftCoef3[r], mine.softCoef3[r]);
  }
  for (int r = 1; r <= tsl2::FORM_ROWS; ++r) {
    SCOPED_TRACE(r);
    EXPECT_FLOAT_EQ(engine.FormX[r], mine.formX[r]);
    EXPECT_FLOAT_EQ(engine.CoherentCumulative[r], mine.coherentCumulative[r]);
    EXPECT_FLOAT_EQ(engine.IncoherentS[r], mine.incoherentS[r]);
  }
  EXPECT_EQ(engine.CoherentTotal, engine.CoherentCumulative[tsl2::FORM_ROWS]);
  EXPECT_EQ(engine.IncoherentSMax, engine.IncoherentS[tsl2::FORM_ROWS]);
  for (int i = 1; i <= 300; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(engine.AirMuTr[i], mine.airMuTr[i]);
    EXPECT_FLOAT_EQ(engine.FilterMu[i], mine.mus[i][1]);  // aluminium
  }
}

}  // namespace
