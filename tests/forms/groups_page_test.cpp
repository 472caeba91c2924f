// The groups page, the details area and the dependency pane on a small computer with groups and
// dependencies.
#include <QTextBlock>
#include <QTextCursor>
#include <filesystem>
#include <sstream>

#include "corvane/catalogue/dependency_tree.h"
#include "corvane/catalogue/groups_tree.h"
#include "corvane/shell/os_version_check.h"
#include "forms_fixture.h"

namespace corvane::testing {
namespace {

struct GroupedService {
  std::string name;
  std::string display;
  int type;
  std::string group;
  std::vector<std::string> dependOnService;
  std::vector<std::string> dependOnGroup;
};

const GroupedService Services[] = {
    {"Beep", "Beep", 0x1, "Base", {}, {}},
    {"Tcpip", "TCP/IP Protocol Driver", 0x1, "PNP_TDI", {}, {}},
    {"NetBT", "NetBios over Tcpip", 0x1, "PNP_TDI", {"Tcpip"}, {}},
    {"Dhcp", "DHCP Client", 0x20, "TDI", {"Tcpip", "NetBT"}, {}},
    {"Lanman", "Workstation", 0x20, "NetworkProvider", {"Missing"}, {"TDI"}},
    {"Alerter", "Alerter", 0x20, "", {"Lanman"}, {}},
    {"Spooler", "Print Spooler", 0x110, "", {}, {}},
};

std::string multiString(const std::vector<std::string>& names) {
  std::ostringstream hex;
  hex << "hex(7):";
  bool first = true;
  const auto byte = [&](unsigned char c) {
    char text[4];
    std::snprintf(text, sizeof text, "%02x", c);
    hex << (first ? "" : ",") << text;
    first = false;
  };
  for (const std::string& name : names) {
    for (const char c : name) {
      byte(static_cast<unsigned char>(c));
    }
    byte(0);
  }
  byte(0);
  return hex.str();
}

std::string registry() {
  std::ostringstream reg;
  reg << "REGEDIT4\r\n\r\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
         "\"CurrentVersion\"=\"5.1\"\r\n\"CurrentBuildNumber\"=\"2600\"\r\n\r\n"
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder]\r\n"
      << "\"List\"=" << multiString({"Base", "PNP_TDI", "TDI", "PNP Filter"}) << "\r\n\r\n";
  for (const GroupedService& s : Services) {
    char type[16];
    std::snprintf(type, sizeof type, "%08x", s.type);
    reg << "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" << s.name << "]\r\n"
        << "\"Type\"=dword:" << type << "\r\n\"Start\"=dword:00000003\r\n"
        << "\"ErrorControl\"=dword:00000001\r\n"
        << "\"DisplayName\"=\"" << s.display << "\"\r\n"
        << "\"Description\"=\"What " << s.display << " does.\"\r\n";
    if (!s.group.empty()) {
      reg << "\"Group\"=\"" << s.group << "\"\r\n";
    }
    if (!s.dependOnService.empty()) {
      reg << "\"DependOnService\"=" << multiString(s.dependOnService) << "\r\n";
    }
    if (!s.dependOnGroup.empty()) {
      reg << "\"DependOnGroup\"=" << multiString(s.dependOnGroup) << "\r\n";
    }
    reg << "\r\n";
  }
  return reg.str();
}

class GroupsPageTest : public FormsTest {
 protected:
  GroupsPageTest() {
    console.reset();
    form.reset();
    machine.reset();
    const std::filesystem::path machineFolder = folder / "machine";
    TempFolder::writeFile(machineFolder / "registry.reg", registry());
    std::string states;
    for (const GroupedService& s : Services) {
      states += "[" + s.name + "]\r\nState=stopped\r\n\r\n";
    }
    TempFolder::writeFile(machineFolder / "services.ini", states);
    machine = std::make_unique<platform::sim::SimulatedMachine>(machineFolder, clock,
                                                                folder / "user.reg");
    program.MainRegistry = &machine->registry();
    form = std::make_unique<TMainForm>(*machine, dialogs, program, request);
    console = std::make_unique<TConsole>(program, request);
    form->SetConsole(console.get());
  }

  void ShowGroupsPage() {
    ShowAndWaitForFirstRequest();
    form->PageControl->setCurrentIndex(1);
  }

  QTreeWidgetItem* Member(const QString& group, const QString& member) {
    for (int i = 0; i < form->Groups->topLevelItemCount(); ++i) {
      QTreeWidgetItem* node = form->Groups->topLevelItem(i);
      for (int k = 0; node->text(0) == group && k < node->childCount(); ++k) {
        if (node->child(k)->text(0) == member) {
          return node->child(k);
        }
      }
    }
    ADD_FAILURE() << "no member " << member.toStdString() << " in " << group.toStdString();
    return nullptr;
  }

  // A tree as one line: "text:image[children] ...".
  static std::string Render(const QTreeWidgetItem* parent, const QTreeWidget* tree) {
    std::string text;
    const int count = parent != nullptr ? parent->childCount() : tree->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
      const QTreeWidgetItem* node = parent != nullptr ? parent->child(i) : tree->topLevelItem(i);
      text += (i > 0 ? " " : "") + node->text(0).toStdString() + ":" +
              std::to_string(node->data(0, Qt::UserRole).toInt());
      if (node->childCount() > 0) {
        text += "[" + Render(node, nullptr) + "]";
      }
    }
    return text;
  }
  std::string Render(const QTreeWidget* tree) { return Render(nullptr, tree); }

  bool BoldAt(int position) {
    QTextCursor cursor(form->Description->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().fontWeight() == QFont::Bold;
  }
};

TEST_F(GroupsPageTest, TheGroupsPageShowsTheGroupsAfterTheFirstRefresh) {
  ShowAndWaitForFirstRequest();
  EXPECT_EQ(Render(form->Groups),
            "Base:12[Beep:29] "
            "PNP_TDI:12[NetBios over Tcpip:29 TCP/IP Protocol Driver:29] "
            "TDI:12[DHCP Client:13] "
            "PNP Filter:28 "
            "NetworkProvider:15[Workstation:13] "
            "- services not belonging to a group:15[Alerter:13 Print Spooler:13]");
  EXPECT_EQ(form->Groups->currentItem(), form->Groups->topLevelItem(0));
}

TEST_F(GroupsPageTest, SelectingAGroupExplainsItAndDisablesThePane) {
  ShowGroupsPage();
  form->Groups->setCurrentItem(form->Groups->topLevelItem(3));
  EXPECT_EQ(form->Description->toPlainText().toStdString(), GroupExplanationOnSelection);
  EXPECT_EQ(form->Executable->text(), "order: 3");
  EXPECT_EQ(form->Group->text(), "PNP Filter");
  EXPECT_EQ(form->Tree->topLevelItemCount(), 0);
  EXPECT_FALSE(form->SpeedDependencies->isEnabled());
  EXPECT_FALSE(form->SpeedDependents->isEnabled());
  EXPECT_FALSE(form->ToolButtons[0]->isEnabled());

  // The page change re-shows the selected group with the quoted key path.
  form->PageControlChange();
  EXPECT_EQ(form->Description->toPlainText().toStdString(), GroupExplanationOnRefresh);
  EXPECT_EQ(form->Executable->text(), "order: 3");
}

TEST_F(GroupsPageTest, SelectingAMemberShowsItsDetailsAndBothTrees) {
  ShowGroupsPage();
  form->Groups->setCurrentItem(form->Groups->topLevelItem(0));
  form->Groups->setCurrentItem(Member("NetworkProvider", "Workstation"));
  EXPECT_EQ(form->Description->toPlainText(), "Description:\nWhat Workstation does.");
  EXPECT_TRUE(BoldAt(0));
  EXPECT_FALSE(BoldAt(14));
  EXPECT_EQ(form->Group->text(), "NetworkProvider");
  EXPECT_TRUE(form->SpeedDependencies->isEnabled()) << "the group node disabled it before";
  EXPECT_EQ(Render(form->Tree),
            "Missing:25 TDI:12[DHCP Client:13[NetBios over Tcpip:13[TCP/IP Protocol Driver:13]]]");

  form->SpeedDependents->click();
  EXPECT_EQ(Render(form->Tree), "Alerter:13");
  form->Groups->setCurrentItem(Member("PNP_TDI", "TCP/IP Protocol Driver"));
  EXPECT_EQ(Render(form->Tree), "NetBios over Tcpip:13[DHCP Client:13]");
  form->Groups->setCurrentItem(Member("- services not belonging to a group", "Print Spooler"));
  EXPECT_EQ(Render(form->Tree), std::string(NoDependentsNode) + ":14");
}

TEST_F(GroupsPageTest, OneLevelWithTheFullTreeSettingOff) {
  program.settings.FullTree = false;
  ShowGroupsPage();
  form->Groups->setCurrentItem(Member("TDI", "DHCP Client"));
  EXPECT_EQ(Render(form->Tree), "NetBios over Tcpip:13 TCP/IP Protocol Driver:13");
  form->Groups->setCurrentItem(Member("- services not belonging to a group", "Print Spooler"));
  EXPECT_EQ(Render(form->Tree), std::string(NoDependenciesNode) + ":14");
}

TEST_F(GroupsPageTest, TheExtraDescriptionIsAddedWithItsHeadingAndNotesInBold) {
  std::filesystem::create_directories(folder / "descriptions");
  TempFolder::writeFile(
      folder / "descriptions" / "extradescXP.ini",
      "[print spooler]\r\n\r\nQueues jobs.\r\nTake Note: Note: twice.\r\n[iniend]\r\n");
  FillExtraDescFiles(program);
  program.OsKind = OsKindWindowsXP;
  ASSERT_TRUE(LoadExtraDescriptions(program));
  ShowGroupsPage();
  form->Groups->setCurrentItem(Member("- services not belonging to a group", "Print Spooler"));
  const QString text = form->Description->toPlainText();
  EXPECT_EQ(text,
            "Description:\nWhat Print Spooler does.\n\nAdditional description:\nQueues jobs.\n"
            "Take Note: Note: twice.");
  const int additional = static_cast<int>(text.indexOf("Additional description:"));
  EXPECT_TRUE(BoldAt(additional + 22));
  const int takeNote = static_cast<int>(text.indexOf("Take Note:"));
  EXPECT_TRUE(BoldAt(takeNote));  // "Take Note:" and, inside it, the first "Note:"
  EXPECT_TRUE(BoldAt(takeNote + 9));
  EXPECT_FALSE(BoldAt(takeNote + 11));  // the second "Note:" is normal
  EXPECT_EQ(form->Description->textCursor().position(), 0);
}

TEST_F(GroupsPageTest, ABinaryExtraDescriptionsFileShowsItsBytesHarmlessly) {
  std::filesystem::create_directories(folder / "descriptions");
  std::string binary = "[Print Spooler]\r\n";
  for (int i = 0; i < 4096; ++i) {
    binary +=
        static_cast<char>((i * 37) % 256 == '\n' || (i * 37) % 256 == '\r' ? 'x' : (i * 37) % 256);
  }
  TempFolder::writeFile(folder / "descriptions" / "extradescXP.ini", binary);
  FillExtraDescFiles(program);
  program.OsKind = OsKindWindowsXP;
  ASSERT_TRUE(LoadExtraDescriptions(program));
  ShowGroupsPage();
  form->Groups->setCurrentItem(Member("- services not belonging to a group", "Print Spooler"));
  const QString text = form->Description->toPlainText();
  EXPECT_TRUE(
      text.startsWith("Description:\nWhat Print Spooler does.\n\nAdditional description:\n"));
  EXPECT_TRUE(text.contains(QChar(0xFFFD)));
  EXPECT_FALSE(text.contains(QChar(0)));
}

TEST_F(GroupsPageTest, DoubleClicksLeadBackToTheServiceList) {
  ShowGroupsPage();
  // The list shows services only: a driver of the groups tree is not there.
  form->Groups->setCurrentItem(Member("Base", "Beep"));
  form->GroupsDblClick();
  EXPECT_EQ(form->PageControl->currentIndex(), 1);

  form->Groups->setCurrentItem(Member("NetworkProvider", "Workstation"));
  form->GroupsDblClick();
  EXPECT_EQ(form->PageControl->currentIndex(), 0);
  ASSERT_EQ(form->SelectedServiceName(), std::optional<std::string>("Lanman"));

  // In the dependency tree: an installed service is found without regard to case; a name no
  // service carries and a group find nothing.
  form->PageControl->setCurrentIndex(1);
  form->Groups->setCurrentItem(Member("NetworkProvider", "Workstation"));
  form->Tree->setCurrentItem(form->Tree->topLevelItem(0));  // Missing
  form->TreeDblClick();
  EXPECT_EQ(form->PageControl->currentIndex(), 1);
  form->Tree->setCurrentItem(form->Tree->topLevelItem(1)->child(0));  // DHCP Client
  form->TreeDblClick();
  EXPECT_EQ(form->PageControl->currentIndex(), 0);
  EXPECT_EQ(form->SelectedServiceName(), std::optional<std::string>("Dhcp"));
  EXPECT_EQ(form->Group->text(), "TDI");
}

TEST_F(GroupsPageTest, APressBesideEveryNodeClearsTheSelectionAndShowsTheFirstAgain) {
  ShowGroupsPage();
  form->Groups->setCurrentItem(Member("TDI", "DHCP Client"));
  const QPoint below(5, form->Groups->viewport()->height() - 2);
  ASSERT_EQ(form->Groups->itemAt(below), nullptr);
  QTest::mouseClick(form->Groups->viewport(), Qt::LeftButton, {}, below);
  EXPECT_EQ(form->Groups->currentItem(), form->Groups->topLevelItem(0));
  EXPECT_EQ(form->Group->text(), "Base");
  EXPECT_EQ(form->LastClickedTree, form->Groups);
  form->ExpandAll1Click();
  EXPECT_TRUE(form->Groups->topLevelItem(2)->isExpanded());
  form->CollapseAllClick();
  EXPECT_FALSE(form->Groups->topLevelItem(2)->isExpanded());
}

TEST_F(GroupsPageTest, TheRightButtonOpensTheGroupMenuOrTheServiceMenu) {
  ShowGroupsPage();
  QTreeWidgetItem* group = form->Groups->topLevelItem(1);
  group->setExpanded(true);
  const auto click = [this](QTreeWidgetItem* node, Qt::MouseButton button) {
    const QPoint at = form->Groups->visualItemRect(node).center();
    QTest::mouseClick(form->Groups->viewport(), button, {}, at);
  };
  click(group, Qt::LeftButton);
  EXPECT_FALSE(form->SsPopup->isVisible());
  EXPECT_FALSE(form->PopupMenu->isVisible());

  click(group, Qt::RightButton);
  EXPECT_TRUE(form->SsPopup->isVisible());
  EXPECT_FALSE(form->PopupMenu->isVisible());
  form->SsPopup->hide();

  click(group->child(0), Qt::RightButton);
  EXPECT_TRUE(form->PopupMenu->isVisible());
  EXPECT_TRUE(form->PopupItems[16]->isVisible());
  EXPECT_TRUE(form->PopupItems[17]->isVisible());
  EXPECT_EQ(form->Group->text(), "PNP_TDI");
  form->PopupMenu->hide();
}

}  // namespace
}  // namespace corvane::testing
