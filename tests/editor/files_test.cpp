// Dropped presets load (broken ones change nothing); the user settings file saved, reset, never waited for.
#include "EditorHarness.h"

#include "editor/UserDefaults.h"
#include "processor/Vextoria3.h"
#include "settings/SettingsFile.h"

#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>

using namespace EditorTest;

namespace {

// A drag package of raw items: an item's size may end before its text does.
struct RawItem {
    IDataPackage::Type type;
    std::string text;
    size_t size = text.size();
};
struct RawPackage : IDataPackage, NonAtomicReferenceCounted {
    explicit RawPackage(std::vector<RawItem> list) : items(std::move(list)) {}
    uint32 getCount() const override { return uint32(items.size()); }
    uint32 getDataSize(uint32 index) const override { return uint32(items.at(index).size); }
    Type getDataType(uint32 index) const override { return items.at(index).type; }
    uint32 getData(uint32 index, const void*& buffer, Type& type) const override
    {
        buffer = items.at(index).text.data();
        type = items.at(index).type;
        return getDataSize(index);
    }
    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }
    std::vector<RawItem> items;
};

// What a load changes: the processor's record, the controller's values and hidden settings, the program name.
struct Snapshot {
    Bytes processorState;
    std::vector<double> params, hidden;
    std::string programName;
    bool operator==(const Snapshot&) const = default;
};

const std::vector<double> kHiddenA {0.0, 1.0, 0.5, 0.25, 1.0, 0.0, 0.75}, kHiddenB {0.0, 0.0, 1.0, 0.75, 0.0, 1.0, 0.25};

class PresetDropTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        buildFace(kUiRack);
        ASSERT_EQ(component->initialize(&this->ControllerFixture::host), kResultOk);
        controller->disconnect(&processor);
        controller->connect(component);
    }
    void TearDown() override
    {
        controller->disconnect(component);
        component->terminate();
        EditorFixture::TearDown();
    }
    std::string write(const std::string& name, const Bytes& bytes)
    {
        std::ofstream(folder + name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return folder + name;
    }
    void drop(std::vector<RawItem> items)
    {
        auto package = SharedPointer<RawPackage>::adopt(new RawPackage(std::move(items)));
        EXPECT_TRUE(editor->background->getDropTarget()->onDrop({package.get(), CPoint(400, 150), CButtonState()}));
    }
    void dropFiles(const std::vector<std::string>& paths)
    {
        std::vector<RawItem> items;
        for (const std::string& path : paths)
            items.push_back({IDataPackage::kFilePath, path + '\0'});
        drop(items);
    }
    Snapshot snapshot()
    {
        Snapshot taken {};
        auto stream = owned(new MemoryStream);
        component->getState(stream);
        taken.processorState.assign(stream->getData(), stream->getData() + stream->getSize());
        for (ParamID id = 0; id < 38; ++id)
            taken.params.push_back(controller->getParamNormalized(id));
        taken.hidden = hiddenValues();
        String128 name {};
        controller->getProgramName(36, controller->getCurrentProgram(), name);
        taken.programName = narrow(name);
        return taken;
    }
    // All hold the load but pitch bend (live MIDI), the program number and the view size (the screen's).
    void expectLoaded(const Bytes& record, const std::vector<double>& hidden, const std::string& name)
    {
        const Snapshot now = snapshot();
        const auto expected = readProgramChunk(record.data(), record.size());
        const auto loaded = readProgramChunk(now.processorState.data(), now.processorState.size());
        ASSERT_TRUE(expected && loaded);
        for (int id = 0; id < 38; ++id) {
            EXPECT_NEAR(loaded->params[id], id == 34 ? 0.5 : expected->params[id], 1e-6) << id;
            EXPECT_NEAR(now.params[size_t(id)], id == 36 || id == 12 ? now.params[size_t(id)] : expected->params[id], 1e-6) << id;
        }
        EXPECT_EQ(std::vector<double>(now.hidden.begin() + 1, now.hidden.end()), std::vector<double>(hidden.begin() + 1, hidden.end()));
        EXPECT_EQ(now.programName, name);
    }

    IPtr<Steinberg::Vst::Vextoria3> component = owned(new Steinberg::Vst::Vextoria3);
    const std::string folder = home.path() + "/";
    const Bytes programA = programState(4), programB = programState(12);
    const Bytes fileA = presetFile(programA, controllerState(1, kHiddenA));
    const Bytes fileB = presetFile(programB, controllerState(1, kHiddenB));
};

class UserDefaultsTest : public ControllerFixture {
protected:
    PluginWrapper wrapper() const { return PluginWrapper(controller); }
};

} // namespace

TEST_F(PresetDropTest, DroppedPresetsLoadInOrderIntoProcessorAndControllerAndNameTheProgram)
{
    const DragEventData over {nullptr, CPoint(400, 150), CButtonState()};
    auto* target = editor->background->getDropTarget();
    EXPECT_EQ(std::pair(target->onDragEnter(over), target->onDragMove(over)), std::pair(DragOperation::Copy, DragOperation::Copy))
        << "never a move: the file stays";
    dropFiles({write("Big Room.vstpreset", fileA)});
    expectLoaded(programA, kHiddenA, "Big Room");
    dropFiles({write("a.vstpreset", fileA), write("notes.txt", fileA), write("x\\Dr.B 2.vstpreset", fileB)});
    expectLoaded(programB, kHiddenB, "Dr.B 2");

    // No "Cont", or one the controller refuses: the program loads, the hidden settings stay.
    dropFiles({write("A.vstpreset", presetFile(programA, controllerState(2, kHiddenA)))});
    expectLoaded(programA, kHiddenB, "A");
    dropFiles({write("B.vstpreset", presetFile(programB, {}))});
    expectLoaded(programB, kHiddenB, "B");
}

TEST_F(PresetDropTest, BrokenFilesAndOtherThingsChangeNothing)
{
    // Each broken file is program A's, dropped over program B: one let through would show.
    dropFiles({write("Big Room.vstpreset", fileB)});
    const Snapshot before = snapshot();
    const uint64_t list = fileA.size() - 48, comp = list + 8, cont = comp + 20; // list and entries
    auto with = [&](uint64_t offset, auto value) {
        Bytes bytes = fileA;
        std::memcpy(bytes.data() + offset, &value, sizeof value);
        return bytes;
    };
    std::vector<Bytes> broken {
        with(3, '2'), with(8, '0'),                                                // file id, class id
        with(40, uint64_t(fileA.size() - 7)), with(40, int64_t(-1)),               // list past the end
        with(list + 4, int32_t(3)), with(list + 4, int32_t(0x7fffffff)),            // entries past the end
        with(list + 4, int32_t(-1)),                                               // no entries
        with(comp + 4, uint64_t(fileA.size() - 100)),                              // chunk past the end
        with(comp + 12, uint64_t(0x80000000u) + 372), with(cont + 12, uint64_t(-48)), // size above 2^31, below 0
        with(48 + 4, int32_t(39)), with(comp + 12, uint64_t(8)),                   // a record refused
        Bytes(fileA.begin(), fileA.begin() + 400), Bytes(fileA.begin(), fileA.begin() + 47), // cut in the chunks, the header
    };
    broken.push_back(with(comp, std::array<char, 4> {'C', 'm', 'p', 'x'})); // no "Comp": not even read
    EXPECT_FALSE(Vextoria3Editor::readVST3Preset(write("no comp.vstpreset", broken.back())));
    broken.push_back(fileA);
    std::transform(fileA.begin() + 8, fileA.begin() + 40, broken.back().begin() + 8, ::tolower); // class id in lower case
    broken.push_back(fileA);
    broken.back().resize(1024 * 1024 + 1); // above 1 MiB
    for (uint64_t field = list; field < fileA.size(); field += 4)
        broken.emplace_back(fileA.begin(), fileA.begin() + int64_t(field)); // cut in the list
    for (size_t i = 0; i < broken.size(); ++i) {
        dropFiles({write("broken.vstpreset", broken[i])});
        EXPECT_EQ(snapshot(), before) << i;
    }

    // Not a preset by name or kind; paths end at the first NUL or the item's end; only path items are paths.
    std::filesystem::create_directories(folder + "dir.vstpreset");
    std::filesystem::create_directories(folder + "a.b");
    ASSERT_EQ(mkfifo((folder + "fifo.vstpreset").c_str(), 0600), 0);
    std::vector<std::string> paths {"", folder + "dir.vstpreset", folder + "fifo.vstpreset", folder + "none.vstpreset"};
    for (const char* name : {"x.VSTPRESET", "x.fxp", "x.fxb", "vstpreset", "a.b/preset"})
        paths.push_back(write(name, fileA));
    dropFiles(paths);
    const std::string presetA = write("A.vstpreset", fileA);
    drop({{IDataPackage::kFilePath, presetA + "x"}, {IDataPackage::kText, presetA + '\0'}, {IDataPackage::kBinary, presetA}});
    EXPECT_EQ(snapshot(), before);
    drop({{IDataPackage::kFilePath, presetA + std::string("\0.txt", 5)}});
    EXPECT_EQ(snapshot().programName, "A");
    dropFiles({write("Big Room.vstpreset", fileB)});
    drop({{IDataPackage::kFilePath, presetA + ".txt", presetA.size()}});
    EXPECT_EQ(snapshot().programName, "A");
}

TEST_F(UserDefaultsTest, SaveWritesTheTwelveKeysInOrderResetClosesOnlyTheGateAndTheLayoutComesFirst)
{
    writeSettings("");
    for (auto [index, value] : {std::pair{0, 1.0 / 3.0}, {2, 0.5}, {5, 1.0}})
        controller->getHiddenParameters().setParamValue(index, value);
    for (auto [id, value] : {std::pair{33, 0.25}, {15, 1.0}, {27, 1.0}, {32, 0.5}})
        controller->setParamNormalized(Steinberg::Vst::ParamID(id), value);
    ASSERT_TRUE(UserDefaults::save(wrapper()));
    std::string saved = "[Plugin]\nactive=1.000000\nsize=0.333333\ndarkmode=0.000000\nknobspeed=1.000000\nscopestyle=0.500000\n"
                        "movetoast=0.000000\neditfx=1.000000\nscopespeed=0.250000\nstretch=1.000000\nnodirect=0.000000\n"
                        "pitchset=1.000000\nreplayseq=0.500000\n";
    EXPECT_EQ(settingsText(), saved);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.settingsFolder()), {}), 1) << "no temporary file left";
    ASSERT_TRUE(UserDefaults::closeGate());
    EXPECT_EQ(settingsText(), saved.replace(saved.find("active=1"), 8, "active=0"));
    ASSERT_TRUE(UserDefaults::writeLayout(0));
    EXPECT_EQ(settingsText(), saved + "uiid=0\n");

    writeSettings("[Plugin]\nuiid=0\n");
    ASSERT_TRUE(UserDefaults::save(wrapper()));
    EXPECT_EQ(settingsText().find("[Plugin]\nuiid=0\nactive=1.000000\nsize="), settingsText().find("[Plugin]"));
}

TEST_F(UserDefaultsTest, FilesThatAreNoPlainSmallFileAreNeitherWaitedForNorOverwritten)
{
    writeSettings("");
    std::filesystem::remove(settingsFile());
    ASSERT_EQ(mkfifo(settingsFile().c_str(), 0600), 0);
    auto attempt = std::async(std::launch::async, [this] {
        SettingsFile::prepare(home.path()); // as the processor and the controller start
        SettingsFile().load(settingsFile());
        return std::pair(UserDefaults::readLayout(), UserDefaults::writeLayout(0));
    });
    const bool finished = attempt.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finished)
        close(open(settingsFile().c_str(), O_WRONLY | O_NONBLOCK)); // let a blocked reader go
    ASSERT_TRUE(finished) << "a FIFO must not hold the host";
    EXPECT_EQ(attempt.get(), std::pair(int32(kUiRack), false));
    EXPECT_TRUE(std::filesystem::is_fifo(settingsFile()));
    std::filesystem::remove(settingsFile());

    const std::string oversized = "[Plugin]\nuiid=0\n;" + std::string(SettingsFile::kMaxBytes, 'x') + "\n";
    writeSettings(oversized);
    EXPECT_EQ(UserDefaults::readLayout(), kUiRack);
    EXPECT_FALSE(UserDefaults::save(wrapper()));
    EXPECT_EQ(settingsText(), oversized);
    std::filesystem::remove(settingsFile());

    std::filesystem::create_directory(settingsFile()); // unreadable as a file
    EXPECT_FALSE(UserDefaults::closeGate());
    EXPECT_TRUE(std::filesystem::is_directory(settingsFile()));
    std::filesystem::remove(settingsFile());

    // An empty home is no home, and not a number keeps the gate shut.
    setenv("HOME", "", 1);
    EXPECT_EQ(SettingsFile::homeFolder(), std::nullopt);
    EXPECT_FALSE(UserDefaults::writeLayout(0));
    EXPECT_EQ(UserDefaults::readLayout(), kUiRack);
    EXPECT_FALSE(std::filesystem::exists("/.harlowmint")) << "nothing made at the root";
    SettingsFile file;
    for (const char* active : {"nan", "-NAN(1)", "0", "abc", "0.0e5"}) {
        file.setText("Plugin", "active", active);
        EXPECT_FALSE(file.defaultsEnabled()) << active;
    }
    file.setText("Plugin", "active", "1");
    EXPECT_TRUE(file.defaultsEnabled());
}

TEST_F(UserDefaultsTest, AWriteThroughSymbolicLinksReplacesTheFileTheyLeadToAndKeepsThem)
{
    namespace fs = std::filesystem;
    const std::string dotfiles = home.path() + "/dotfiles/", second = dotfiles + "second";
    writeSettings("");
    fs::remove(settingsFile());
    fs::create_directories(dotfiles);
    std::ofstream(dotfiles + "Vextoria3.conf") << "; mine\n[Plugin]\nuiid = 1\n";
    fs::create_symlink(second, settingsFile());
    fs::create_symlink("Vextoria3.conf", second); // relative to its own folder
    ASSERT_TRUE(UserDefaults::writeLayout(0));
    EXPECT_TRUE(fs::is_symlink(settingsFile()) && fs::is_symlink(second));
    EXPECT_EQ(settingsText(), "; mine\n[Plugin]\nuiid=0\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles), {}), 2) << "no temporary file left";

    // A dangling link: its file is made where its folder is, else nothing is; a loop is refused.
    fs::remove(dotfiles + "Vextoria3.conf");
    ASSERT_TRUE(UserDefaults::writeLayout(1));
    EXPECT_EQ(settingsText(), "[Plugin]\nuiid=1\n");
    for (const std::string& target : {home.path() + "/missing/Vextoria3.conf", settingsFile()}) {
        fs::remove(second);
        fs::create_symlink(target, second);
        EXPECT_FALSE(UserDefaults::writeLayout(0)) << target;
    }
    EXPECT_TRUE(fs::is_symlink(settingsFile()) && fs::is_symlink(second) && !fs::exists(home.path() + "/missing"));
}
