#include <gtest/gtest.h>

#include "testsupport/ChangeRecorder.h"

#include "support/NotifyClasses.h"

namespace tesvarin {
namespace {

using test::Recorder;

struct Settings : TNotifyPersistent {
  int Value = 0;
  void SetValue(int V) {
    if (V == Value) return;
    Value = V;
    Changed();
  }
  void Assign(const TPersistent& Source) override {
    const auto& S = dynamic_cast<const Settings&>(Source);
    BeginUpdate();
    SetValue(S.Value + 1);  // two changes inside, one notification
    SetValue(S.Value);
    EndUpdate();
  }
};

TEST(NotifyPersistent, ChangedFiresWithItselfAsSender) {
  Settings S;
  Recorder R;
  S.OnChange = R.Event();
  S.SetValue(3);
  ASSERT_EQ(R.Senders.size(), 1u);
  EXPECT_EQ(R.Senders[0], &S);
}

TEST(NotifyPersistent, NestedBracketsNotifyOnceAtTheOutermostEnd) {
  Settings S;
  Recorder R;
  S.OnChange = R.Event();
  S.BeginUpdate();
  S.BeginUpdate();
  S.SetValue(1);
  S.EndUpdate();
  EXPECT_TRUE(R.Senders.empty());
  S.EndUpdate();
  EXPECT_EQ(R.Senders.size(), 1u);
  Settings Other;
  Other.Value = 9;
  S.Assign(Other);
  EXPECT_EQ(R.Senders.size(), 2u);
}

TEST(NotifyPersistent, UnmatchedEndUpdateSilencesUntilBalanced) {
  Settings S;
  Recorder R;
  S.OnChange = R.Event();
  S.EndUpdate();
  EXPECT_EQ(S.UpdateCount(), -1);
  S.SetValue(5);
  EXPECT_TRUE(R.Senders.empty());
  S.BeginUpdate();  // back at 0 only after this bracket closes
  S.EndUpdate();
  EXPECT_EQ(R.Senders.size(), 0u);
  S.BeginUpdate();
  EXPECT_EQ(S.UpdateCount(), 0);
  S.SetValue(6);
  EXPECT_EQ(R.Senders.size(), 1u);
}

TEST(NotifyPersistent, ChangedProcIgnoresItselfAndForwardsChildren) {
  Settings Parent;
  Settings Child;
  Recorder R;
  Parent.OnChange = R.Event();
  Child.OnChange = Parent.ChangedProcEvent();
  Parent.ChangedProc(&Parent);
  EXPECT_TRUE(R.Senders.empty());
  Child.SetValue(1);
  ASSERT_EQ(R.Senders.size(), 1u);
  EXPECT_EQ(R.Senders[0], &Parent);
}

struct TestItem : TCollectionItem {
  using TCollectionItem::TCollectionItem;
  int Value = 0;
  void SetValue(int V) {
    Value = V;
    Changed(false);
  }
  void Assign(const TPersistent& Source) override { Value = dynamic_cast<const TestItem&>(Source).Value; }
};

struct Items : TNotifyCollection {
  using TNotifyCollection::TNotifyCollection;
  std::unique_ptr<TCollectionItem> CreateItem() override { return std::make_unique<TestItem>(this); }
};

TEST(NotifyCollection, ItemChangesAndBracketsReachOnChange) {
  Settings Owner;
  Items C(&Owner);
  Recorder R;
  C.OnChange = R.Event();
  EXPECT_EQ(C.GetOwner(), &Owner);
  auto& First = static_cast<TestItem&>(C.Add());
  EXPECT_EQ(R.Senders.size(), 1u);
  First.SetValue(2);
  EXPECT_EQ(R.Senders.size(), 2u);
  EXPECT_EQ(R.Senders.back(), &C);
  C.BeginUpdate();
  First.SetValue(3);
  C.Add();
  C.EndUpdate();
  EXPECT_EQ(R.Senders.size(), 3u);
  C.ChangedProc(&C);
  EXPECT_EQ(R.Senders.size(), 3u);
  C.ChangedProc(&Owner);
  EXPECT_EQ(R.Senders.size(), 4u);

  Items Copy(&Owner);
  Copy.Assign(C);
  ASSERT_EQ(Copy.Count(), 2);
  EXPECT_EQ(static_cast<TestItem&>(Copy.Item(0)).Value, 3);
  EXPECT_THROW((void)C.Item(2), EListError);
}

TEST(MethodList, RemoveTakesTheLaterCopyFirst) {
  Recorder A;
  Recorder B;
  TMethodList L;
  EXPECT_EQ(L.Add(A.Event()), 0);
  EXPECT_EQ(L.Add(B.Event()), 1);
  EXPECT_EQ(L.Add(A.Event()), 2);
  L.Remove(A.Event());
  ASSERT_EQ(L.Count(), 2);
  EXPECT_EQ(L.Items(0), A.Event());
  EXPECT_EQ(L.Items(1), B.Event());
  L.Remove(A.Event());
  ASSERT_EQ(L.Count(), 1);
  EXPECT_EQ(L.Items(0), B.Event());
  L.Remove(A.Event());  // absent: no error
  EXPECT_EQ(L.Count(), 1);
}

TEST(NotifyEventList, CallsEveryHandlerWithTheOwner) {
  Settings Owner;
  TNotifyEventList List(&Owner);
  Recorder A;
  Recorder B;
  List.Add(A.Event());
  List.Add(B.Event());
  List.BeginUpdate();
  List.Changed();
  EXPECT_TRUE(A.Senders.empty());
  List.EndUpdate();
  ASSERT_EQ(A.Senders.size(), 1u);
  EXPECT_EQ(A.Senders[0], &Owner);
  EXPECT_EQ(B.Senders.size(), 1u);
  List.Remove(A.Event());
  List.Changed();
  EXPECT_EQ(A.Senders.size(), 1u);
  EXPECT_EQ(B.Senders.size(), 2u);
}

TEST(NotifyEventList, AHandlerMayRemoveItselfWhileCalled) {
  Settings Owner;
  TNotifyEventList List(&Owner);
  int Calls = 0;
  TNotifyEvent Self;
  Self = TNotifyEvent::Lambda([&](TObject*) {
    ++Calls;
    List.Remove(Self);
  });
  Recorder B;
  List.Add(Self);
  List.Add(B.Event());
  List.Changed();
  List.Changed();
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(B.Senders.size(), 2u);
}

struct HtmlExt : TFileExtComponent {
  void InitFileExtList() override {
    FileExtList().Add(".htm");
    FileExtList().Add(".html");
  }
};

TEST(FileExtComponent, HasFileExtIgnoresCaseAndInitRunsOnce) {
  HtmlExt C;
  EXPECT_TRUE(C.HasFileExt(".HTM"));
  EXPECT_TRUE(C.HasFileExt(".html"));
  EXPECT_FALSE(C.HasFileExt(".txt"));
  EXPECT_EQ(C.FileExtList().Count(), 2);
  TStringList Other;
  Other.Add(".TXT");
  C.SetFileExtList(Other);
  EXPECT_TRUE(C.HasFileExt(".txt"));
  EXPECT_FALSE(C.HasFileExt(".htm"));
}

struct Watcher : TComponent {
  std::vector<TComponent*> Removed;
  void Notification(TComponent* C, TOperation Op) override {
    if (Op == opRemove) Removed.push_back(C);
  }
};

TEST(Component, FreeNotificationTellsTheWatcher) {
  Watcher W;
  TComponent* Gone = nullptr;
  {
    TComponent C;
    Gone = &C;
    C.FreeNotification(&W);
  }
  ASSERT_EQ(W.Removed.size(), 1u);
  EXPECT_EQ(W.Removed[0], Gone);
  {
    TComponent C;
    C.FreeNotification(&W);
    C.RemoveFreeNotification(&W);
  }
  EXPECT_EQ(W.Removed.size(), 1u);
}

}  // namespace
}  // namespace tesvarin
