// The control's dispatch properties: DISPIDs, types, defaults, puts by DISPID, and the
// persisted set with its order, names, version, round trip and reset.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "control/ControlProperties.h"
#include "control/PelioranCtrl.h"
#include "support/ControlFakes.h"
#include "support/FakeBrowserPorts.h"

namespace pel::test {
namespace {

// A property bag: records each exchange as "version 65536", "stock", "long iSvrID 0", ...
// and serves stored values when loading.
class RecordingExchange : public IPropertyExchange {
 public:
  explicit RecordingExchange(bool loading) : loading_(loading) {}

  bool IsLoading() const override { return loading_; }
  void ExchangeVersion(uint32_t version) override { lines.push_back("version " + std::to_string(version)); }
  void ExchangeStockState() override { lines.push_back("stock"); }
  void ExchangeLong(const char* name, int32_t& value, int32_t def) override {
    lines.push_back(std::string("long ") + name + " " + std::to_string(def));
    Exchange(name, value, def, [](int32_t v) { return std::to_string(v); },
             [](const std::string& s) { return static_cast<int32_t>(std::stol(s)); });
  }
  void ExchangeBool(const char* name, bool& value, bool def) override {
    lines.push_back(std::string("bool ") + name + " " + (def ? "1" : "0"));
    Exchange(name, value, def, [](bool v) { return std::string(v ? "1" : "0"); },
             [](const std::string& s) { return s == "1"; });
  }
  void ExchangeText(const char* name, std::string& value, const std::string& def) override {
    lines.push_back(std::string("text ") + name + " \"" + def + "\"");
    Exchange(name, value, def, [](const std::string& v) { return v; },
             [](const std::string& s) { return s; });
  }

  std::vector<std::string> lines;
  std::map<std::string, std::string> bag;

 private:
  template <typename T, typename Out, typename In>
  void Exchange(const char* name, T& value, const T& def, Out out, In in) {
    if (!loading_) {
      bag[name] = out(value);
      return;
    }
    const auto it = bag.find(name);
    value = it == bag.end() ? def : in(it->second);
  }

  bool loading_;
};

struct ControlFixture : ::testing::Test {
  CallLog log;
  RecordingMessages messages;
  FakeControlWindow window{log};
  FakeBrowserProxySetting proxy;
  CPelioranCtrl ctrl{ControlPorts{messages, window, proxy}};
};

TEST(PropertyTable, FourteenPropertiesInDispidOrderWithTheirTypes) {
  const std::vector<std::string> names = {"strIpAddr", "iHttpPort", "strIpAddrProxy",
                                          "iHttpPortProxy", "iSvrID", "strUserID",
                                          "strUserPWD", "iOperPaneCtls", "bGroup", "bTour",
                                          "bPower", "bLight", "bAux1", "bAux2"};
  const std::vector<uint16_t> types = {kVtBstr, kVtI4, kVtBstr, kVtI4, kVtI4, kVtBstr, kVtBstr,
                                       kVtI4, kVtBool, kVtBool, kVtBool, kVtBool, kVtBool, kVtBool};
  const auto& table = PropertyTable();
  for (int i = 0; i < kPropertyCount; ++i) {
    EXPECT_EQ(table[i].dispid, i + 1);
    EXPECT_EQ(table[i].name, names[static_cast<size_t>(i)]);
    EXPECT_EQ(table[i].vt, types[static_cast<size_t>(i)]) << names[static_cast<size_t>(i)];
    EXPECT_EQ(FindProperty(i + 1), &table[i]);
  }
  EXPECT_EQ(FindProperty(0), nullptr);
  EXPECT_EQ(FindProperty(15), nullptr);
  EXPECT_EQ(FindProperty(kDispidAboutBox), nullptr);
  EXPECT_EQ(kDispidAboutBox, -552);
}

TEST_F(ControlFixture, PropertiesStartAtTheirDefaults) {
  const std::vector<Variant> expected = {
      Variant::Bstr(""), Variant::I4(80),   Variant::Bstr(""),  Variant::I4(8080),
      Variant::I4(0),    Variant::Bstr(""), Variant::Bstr(""),  Variant::I4(0),
      Variant::Bool(true), Variant::Bool(true), Variant::Bool(true), Variant::Bool(true),
      Variant::Bool(false), Variant::Bool(true)};
  for (int dispid = 1; dispid <= 14; ++dispid) {
    EXPECT_EQ(ctrl.GetProperty(dispid), expected[static_cast<size_t>(dispid - 1)]) << dispid;
  }
  EXPECT_TRUE(ctrl.GetProperty(99).IsEmpty());
  EXPECT_FALSE(ctrl.IsModified());
}

TEST_F(ControlFixture, PutStoresMarksModifiedAndTouchesNothingElse) {
  EXPECT_EQ(ctrl.PutProperty(kDispidStrIpAddr, Variant::Bstr("10.0.0.1")), PutResult::kOk);
  EXPECT_TRUE(ctrl.IsModified());
  EXPECT_EQ(ctrl.Properties().strIpAddr, "10.0.0.1");
  // A script's small integer arrives as VT_I2; a BOOL may arrive as an integer.
  EXPECT_EQ(ctrl.PutProperty(kDispidIHttpPort, Variant::I2(81)), PutResult::kOk);
  EXPECT_EQ(ctrl.Properties().iHttpPort, 81);
  EXPECT_EQ(ctrl.PutProperty(kDispidBAux1, Variant::I4(1)), PutResult::kOk);
  EXPECT_TRUE(ctrl.Properties().bAux1);
  EXPECT_EQ(ctrl.PutProperty(kDispidBGroup, Variant::Bool(false)), PutResult::kOk);
  EXPECT_EQ(ctrl.GetProperty(kDispidBGroup), Variant::Bool(false));
  EXPECT_EQ(ctrl.PutProperty(kDispidIOperPaneCtls, Variant::I4(0x7EC00)), PutResult::kOk);
  EXPECT_EQ(ctrl.Properties().iOperPaneCtls, 0x7EC00);

  EXPECT_EQ(ctrl.PutProperty(kDispidStrUserID, Variant::I4(5)), PutResult::kTypeMismatch);
  EXPECT_EQ(ctrl.PutProperty(kDispidISvrID, Variant::Bstr("5")), PutResult::kTypeMismatch);
  EXPECT_EQ(ctrl.PutProperty(kDispidBTour, Variant::R8(1.0)), PutResult::kTypeMismatch);
  EXPECT_EQ(ctrl.PutProperty(42, Variant::I4(1)), PutResult::kUnknownDispid);
  EXPECT_EQ(ctrl.Properties().strUserID, "");
  EXPECT_EQ(ctrl.Properties().iSvrID, 0);

  // Nothing reaches the windows or the server.
  EXPECT_TRUE(log.calls().empty());
  EXPECT_TRUE(messages.texts.empty());

  ctrl.SetModifiedFlag(false);
  ctrl.SetISvrID(4);
  EXPECT_TRUE(ctrl.IsModified());
  EXPECT_EQ(ctrl.Properties().iSvrID, 4);
}

TEST_F(ControlFixture, SaveExchangesVersionStockStateAndThirteenPropertiesInOrder) {
  RecordingExchange save(false);
  ctrl.DoPropExchange(save);
  EXPECT_EQ(save.lines, (std::vector<std::string>{
                            "version 65536", "stock", "long iSvrID 0", "text strIpAddr \"\"",
                            "long iHttpPort 80", "text strIpAddrProxy \"\"",
                            "long iHttpPortProxy 8080", "text strUserID \"\"",
                            "text strUserPWD \"\"", "bool bGroup 1", "bool bTour 1",
                            "bool bPower 1", "bool bLight 1", "bool bAux1 0", "bool bAux2 1"}));
  EXPECT_EQ(save.bag.count("iOperPaneCtls"), 0u);
}

TEST_F(ControlFixture, SavedStateLoadsBackIntoAnotherControl) {
  ctrl.SetStrIpAddr("192.168.0.10");
  ctrl.SetIHttpPort(8081);
  ctrl.SetStrIpAddrProxy("10.0.0.9");
  ctrl.SetIHttpPortProxy(3128);
  ctrl.SetISvrID(2);
  ctrl.SetStrUserID("admin");
  ctrl.SetStrUserPWD("secret");
  ctrl.SetIOperPaneCtls(0x1234);
  ctrl.PutProperty(kDispidBGroup, Variant::Bool(false));
  ctrl.PutProperty(kDispidBAux1, Variant::Bool(true));
  RecordingExchange save(false);
  ctrl.DoPropExchange(save);

  CPelioranCtrl other{ControlPorts{messages, window, proxy}};
  RecordingExchange load(true);
  load.bag = save.bag;
  other.DoPropExchange(load);
  const ControlProperties& p = other.Properties();
  EXPECT_EQ(p.strIpAddr, "192.168.0.10");
  EXPECT_EQ(p.iHttpPort, 8081);
  EXPECT_EQ(p.strIpAddrProxy, "10.0.0.9");
  EXPECT_EQ(p.iHttpPortProxy, 3128);
  EXPECT_EQ(p.iSvrID, 2);
  EXPECT_EQ(p.strUserID, "admin");
  EXPECT_EQ(p.strUserPWD, "secret");
  EXPECT_FALSE(p.bGroup);
  EXPECT_TRUE(p.bAux1);
  EXPECT_TRUE(p.bAux2);
  EXPECT_EQ(p.iOperPaneCtls, 0);  // not persisted
}

TEST_F(ControlFixture, LoadingAnEmptyBagGivesDefaults) {
  ctrl.SetStrIpAddr("x");
  ctrl.SetIHttpPort(1);
  ctrl.PutProperty(kDispidBAux2, Variant::Bool(false));
  RecordingExchange load(true);
  load.bag["iHttpPortProxy"] = "9000";
  ctrl.DoPropExchange(load);
  EXPECT_EQ(ctrl.Properties().strIpAddr, "");
  EXPECT_EQ(ctrl.Properties().iHttpPort, 80);
  EXPECT_EQ(ctrl.Properties().iHttpPortProxy, 9000);
  EXPECT_TRUE(ctrl.Properties().bAux2);
}

TEST_F(ControlFixture, ResetRestoresEveryPersistedDefault) {
  ctrl.SetStrIpAddr("10.0.0.1");
  ctrl.SetIHttpPort(81);
  ctrl.SetStrIpAddrProxy("p");
  ctrl.SetIHttpPortProxy(1);
  ctrl.SetISvrID(9);
  ctrl.SetStrUserID("u");
  ctrl.SetStrUserPWD("w");
  for (int dispid = kDispidBGroup; dispid <= kDispidBAux2; ++dispid) {
    ctrl.PutProperty(dispid, Variant::Bool(dispid == kDispidBAux1));
  }
  ctrl.SetIOperPaneCtls(77);
  ctrl.OnResetState();
  const ControlProperties defaults;
  for (int dispid = 1; dispid <= 14; ++dispid) {
    if (dispid == kDispidIOperPaneCtls) continue;
    EXPECT_EQ(ctrl.GetProperty(dispid), GetPropertyByDispid(defaults, dispid)) << dispid;
  }
  EXPECT_EQ(ctrl.Properties().iOperPaneCtls, 77);  // not part of the exchange
}

}  // namespace
}  // namespace pel::test
