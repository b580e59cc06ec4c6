// Sessions, the session list and the database component: names (automatic,
// duplicate, default), temporary databases shared and freed, the password
// check at connect, and the auto-flush timer.
#include <gtest/gtest.h>

#include <memory>

#include "support/TestSupport.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBSession.h"
#include "tabledb/TomeDBTable.h"

using testing_support::TempDir;

namespace {

constexpr char kSessionSchema[] = R"(
table T
  field Code integer
)";

template <class F>
String ErrorOf(F f) {
  try {
    f();
  } catch (const EDatabaseError& e) {
    return e.Message();
  }
  return String();
}

TEST(TomeDBSession, DefaultSessionIsFoundByEmptyOrAnyCaseName) {
  ASSERT_NE(Session(), nullptr);
  EXPECT_EQ(Session()->SessionName(), "Default");
  EXPECT_EQ(Sessions().FindSession(""), Session());
  EXPECT_EQ(Sessions().FindSession("default"), Session());
  EXPECT_EQ(ErrorOf([] { Sessions().SessionByName("Nope"); }), "Invalid session name Nope");
  TTomeSession other(nullptr);
  EXPECT_EQ(ErrorOf([&] { other.SetSessionName("DEFAULT"); }), "Duplicate session name 'DEFAULT'");
  other.SetLockRetryCount(-5);
  EXPECT_EQ(other.LockRetryCount(), 0);
  EXPECT_EQ(ErrorOf([&] { other.SetActive(true); }), "Session name missing");
}

TEST(TomeDBSession, AutomaticNameFollowsComponentNameAndReachesOwnersDataSets) {
  TComponent form(nullptr);
  auto* table = new TTomeTable(&form);
  auto* session = new TTomeSession(&form);
  session->SetName("S");
  session->SetAutoSessionName(true);
  EXPECT_EQ(session->SessionName(), "S_1");
  EXPECT_EQ(table->SessionName(), "S_1");
  EXPECT_EQ(ErrorOf([&] { session->SetSessionName("Other"); }),
            "Cannot modify SessionName while AutoSessionName is enabled");
  session->SetName("Work");
  EXPECT_EQ(session->SessionName(), "Work_1");
  EXPECT_EQ(table->SessionName(), "Work_1");
  EXPECT_EQ(ErrorOf([&] { new TTomeSession(&form); }),
            "Cannot add a session to the form or data-module while session 'Work' has AutoSessionName enabled");
  EXPECT_EQ(form.ComponentCount(), 2);
  // The number goes back to the set: the next automatic session takes it.
  session->SetAutoSessionName(false);
  TComponent form2(nullptr);
  auto* second = new TTomeSession(&form2);
  second->SetName("S");
  second->SetAutoSessionName(true);
  EXPECT_EQ(second->SessionName(), "S_1");
  // Two sessions on one owner cannot enable it.
  new TTomeSession(&form);
  EXPECT_EQ(ErrorOf([&] { session->SetAutoSessionName(true); }),
            "Cannot enable AutoSessionName property with more than one session on a form or data-module");
}

TEST(TomeDBSession, DuplicateDatabaseNameUnlessAnUnusedTemporaryGivesWay) {
  TempDir dir;
  const String file = dir.File("d.tdb");
  CreateTomeDatabase(file, ParseTomeSchema(kSessionSchema));
  TTomeSession session(nullptr);
  session.SetSessionName("Dup");
  TTomeDatabase first(&session);
  first.SetDatabaseName("Books");
  TTomeDatabase second(&session);
  EXPECT_EQ(ErrorOf([&] { second.SetDatabaseName("BOOKS"); }), "Duplicate database name 'BOOKS'");
  EXPECT_EQ(second.DatabaseName(), "");
  // A temporary database that no data set uses gives way to a component.
  TTomeDatabase* temporary = session.OpenDatabase(file, nullptr, false, nullptr);
  ASSERT_TRUE(temporary->Temporary());
  second.SetDatabaseName(file);
  EXPECT_EQ(session.FindDatabase(file), &second);
  EXPECT_EQ(session.DatabaseCount(), 2);
}

TEST(TomeDBSession, TablesOfOneFileShareOneTemporaryDatabaseUntilTheLastCloses) {
  TempDir dir;
  const String file = dir.File("d.tdb");
  CreateTomeDatabase(file, ParseTomeSchema(kSessionSchema));
  TTomeTable a(nullptr), b(nullptr);
  for (TTomeTable* t : {&a, &b}) {
    t->SetDatabaseName(file);
    t->SetTableName("T");
    t->SetSessionName("default");
    t->Open();
  }
  ASSERT_NE(a.Database(), nullptr);
  EXPECT_EQ(a.Database(), b.Database());
  EXPECT_EQ(a.Database()->RefCount(), 2);
  EXPECT_TRUE(Session()->Active());
  a.Close();
  EXPECT_EQ(Session()->FindDatabase(file), b.Database());
  b.Close();
  EXPECT_EQ(Session()->FindDatabase(file), nullptr);
  // Closing the temporary database itself closes its tables first.
  a.Open();
  a.Database()->Close();
  EXPECT_FALSE(a.Active());
  a.Open();
  EXPECT_EQ(a.RecordCount(), 0);
  a.Close();
}

TEST(TomeDBSession, DatabaseComponentChecksPasswordAtConnect) {
  TempDir dir;
  const String file = dir.File("d.tdb");
  // Appended, not "String(...) + kSessionSchema": GCC 12 sees a false
  // out-of-bounds copy (-Warray-bounds) in that operator+ here.
  String schema = "encrypt Twofish 2\npassword vorel\n";
  schema += kSessionSchema;
  CreateTomeDatabase(file, ParseTomeSchema(schema));
  TTomeSession session(nullptr);
  session.SetSessionName("Pw");
  TTomeDatabase database(&session);
  database.SetDatabaseName("Store");
  database.SetFileName(file);
  database.SetPassword("bad");
  database.Open();
  EXPECT_FALSE(database.CanAccess());
  EXPECT_TRUE(database.IsEncrypted());
  EXPECT_EQ(ErrorOf([&] { database.SetFileName("x"); }), "Cannot perform this operation on an open database");
  TTomeTable table(nullptr);
  table.SetSessionName("Pw");
  table.SetDatabaseName("Store");
  table.SetTableName("T");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "Access denied");
  // The failed open let go of the database, which, unused, disconnected.
  EXPECT_FALSE(database.Connected());
  database.SetPassword("vorel");
  table.Open();
  EXPECT_EQ(database.GetDataSetCount(), 1);
  // Closing the database closes its data sets and forgets the password.
  database.Close();
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(ErrorOf([&] { database.IsEncrypted(); }), "Cannot perform this operation on a closed database");
}

TEST(TomeDBSession, AutoFlushTimerFollowsItsSettings) {
  TTomeSession session(nullptr);
  session.SetSessionName("Flush");
  TTomeDatabase database(&session);
  EXPECT_FALSE(database.FlushTimer().Enabled());
  database.SetAutoFlush(true);
  EXPECT_TRUE(database.FlushTimer().Enabled());
  EXPECT_EQ(database.FlushTimer().Interval(), 60000u);
  database.SetAutoFlushInterval(500);
  EXPECT_EQ(database.FlushTimer().Interval(), 500u);
  database.SetAutoFlush(false);
  EXPECT_FALSE(database.FlushTimer().Enabled());
  // A tick on a disconnected database does nothing.
  database.FlushTimer().Tick();
}

TEST(TomeDBSession, DeactivatingFreesTemporaryDatabasesAndClosesOthers) {
  TempDir dir;
  const String file = dir.File("d.tdb");
  CreateTomeDatabase(file, ParseTomeSchema(kSessionSchema));
  TTomeSession session(nullptr);
  session.SetSessionName("Off");
  TTomeDatabase component(&session);
  component.SetDatabaseName("C");
  component.SetFileName(file);
  component.Open();
  session.OpenDatabase(file, nullptr, false, nullptr);
  EXPECT_TRUE(session.Active());
  EXPECT_EQ(session.DatabaseCount(), 2);
  session.SetActive(false);
  EXPECT_EQ(session.DatabaseCount(), 1);
  EXPECT_FALSE(component.Connected());
}

}  // namespace
