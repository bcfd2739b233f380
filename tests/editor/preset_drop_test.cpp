// Preset files dropped on the editor's background: files the SDK wrote load into the
// processor and the controller and name the program; broken files, other types and other
// things under a preset's name change nothing.
#include "EditorHarness.h"

#include "processor/Vextoria3.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <sys/stat.h>

using namespace EditorTest;

namespace {

template <typename Value>
void writeAt(Bytes& bytes, uint64_t offset, Value value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <typename Value>
Value readAt(const Bytes& bytes, uint64_t offset)
{
    Value value {};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// Field offsets of a file of presetFile: the list, and entry i's id, offset and size.
uint64_t listOf(const Bytes& file) { return readAt<uint64_t>(file, 40); }
uint64_t entryOf(const Bytes& file, int index) { return listOf(file) + 8 + 20 * uint64_t(index); }

// A drag package of raw items: a path need not end in a NUL within its size.
class RawPackage : public IDataPackage, public NonAtomicReferenceCounted {
public:
    struct Item {
        Type type;
        std::string bytes;
    };
    explicit RawPackage(std::vector<Item> list) : items(std::move(list)) {}
    uint32 getCount() const override { return uint32(items.size()); }
    uint32 getDataSize(uint32 index) const override { return uint32(items.at(index).bytes.size()); }
    Type getDataType(uint32 index) const override { return items.at(index).type; }
    uint32 getData(uint32 index, const void*& buffer, Type& type) const override
    {
        buffer = items.at(index).bytes.data();
        type = items.at(index).type;
        return getDataSize(index);
    }
    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }

private:
    std::vector<Item> items;
};

// What a load changes: the processor's record, the controller's values, hidden settings and
// the name of its current program.
struct Snapshot {
    Bytes processorState;
    std::vector<double> params, hidden;
    std::string programName;
    bool operator==(const Snapshot&) const = default;
};

const std::vector<double> kHiddenA {0.0, 1.0, 0.5, 0.25, 1.0, 0.0, 0.75};
const std::vector<double> kHiddenB {0.0, 0.0, 1.0, 0.75, 0.0, 1.0, 0.25};

class PresetDropTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        buildFace(kUiRack);
        ASSERT_EQ(component->initialize(&this->ControllerFixture::host), kResultOk);
        controller->disconnect(&processor);
        controller->connect(component);
        folder = home.path() + "/Presets/";
        std::filesystem::create_directories(folder);
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
    bool drop(std::vector<RawPackage::Item> items)
    {
        auto package = SharedPointer<RawPackage>::adopt(new RawPackage(std::move(items)));
        return editor->background->getDropTarget()->onDrop({package.get(), CPoint(400, 150), CButtonState()});
    }
    bool dropFiles(const std::vector<std::string>& paths)
    {
        std::vector<RawPackage::Item> items;
        for (const std::string& path : paths)
            items.push_back({IDataPackage::kFilePath, path + '\0'});
        return drop(items);
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
    // The processor and the controller hold `record`'s parameters: the processor all but pitch
    // bend, which stays the live MIDI value, the controller all but the program number, which a
    // state never switches.
    void expectProgram(const Bytes& record)
    {
        const auto expected = readProgramChunk(record.data(), record.size());
        const Snapshot now = snapshot();
        const auto loaded = readProgramChunk(now.processorState.data(), now.processorState.size());
        ASSERT_TRUE(expected && loaded);
        for (int id = 0; id < 38; ++id) {
            if (id != 34)
                EXPECT_NEAR(loaded->params[id], expected->params[id], 1e-6) << id;
            if (id != 36 && id != 12)
                EXPECT_NEAR(now.params[size_t(id)], expected->params[id], 1e-6) << id;
        }
    }
    void expectHidden(const std::vector<double>& values)
    {
        const std::vector<double> now = hiddenValues();
        EXPECT_EQ(std::vector<double>(now.begin() + 1, now.end()), std::vector<double>(values.begin() + 1, values.end()))
            << "all but the view size, which stays with the screen";
    }

    IPtr<Steinberg::Vst::Vextoria3> component = owned(new Steinberg::Vst::Vextoria3);
    std::string folder;
    const Bytes programA = programState(4);
    const Bytes programB = programState(12);
    const Bytes fileA = presetFile(programA, controllerState(1, kHiddenA));
    const Bytes fileB = presetFile(programB, controllerState(1, kHiddenB));
    BundlePictures pictures;
};

} // namespace

TEST_F(PresetDropTest, DroppedPresetsLoadIntoProcessorAndControllerInOrderAndNameTheProgram)
{
    const VSTGUI::DragEventData over {nullptr, CPoint(400, 150), CButtonState()};
    EXPECT_EQ(editor->background->getDropTarget()->onDragEnter(over), DragOperation::Copy);
    EXPECT_EQ(editor->background->getDropTarget()->onDragMove(over), DragOperation::Copy) << "never a move: the file stays";

    EXPECT_TRUE(dropFiles({write("Big Room.vstpreset", fileA)}));
    expectProgram(programA);
    expectHidden(kHiddenA);
    EXPECT_EQ(snapshot().programName, "Big Room");
    EXPECT_EQ(editor->getControl(3)->getValue(), float(readProgramChunk(programA.data(), programA.size())->params[3]));

    // Three items: a preset, a text file, another preset; the last one stays.
    EXPECT_TRUE(dropFiles({write("a.vstpreset", fileA), write("notes.txt", fileA), write("Dr B.vstpreset", fileB)}));
    expectProgram(programB);
    expectHidden(kHiddenB);
    EXPECT_EQ(snapshot().programName, "Dr B");
}

TEST_F(PresetDropTest, ChunkListVariantsLoadWhatTheyHold)
{
    // "Info" ahead of "Comp" and "Cont": skipped.
    auto stream = owned(new MemoryStream);
    PresetFile writer(stream);
    writer.setClassID(kVextoria3ProcessorUID);
    const char info[] = "<MetaInfo/>";
    const Bytes hiddenB = controllerState(1, kHiddenB);
    ASSERT_TRUE(writer.writeHeader() && writer.writeMetaInfo(info) &&
                writer.writeChunk(programB.data(), int32(programB.size()), kComponentState) &&
                writer.writeChunk(hiddenB.data(), int32(hiddenB.size()), kControllerState) &&
                writer.writeChunkList());
    dropFiles({write("info first.vstpreset", Bytes(stream->getData(), stream->getData() + stream->getSize()))});
    expectProgram(programB);
    expectHidden(kHiddenB);

    // "Comp" twice: the last entry wins.
    Bytes twice = presetFile(programB, {});
    const Bytes withA = presetFile(programA, {});
    const uint64_t secondRecord = twice.size();
    twice.insert(twice.end(), withA.begin() + 48, withA.begin() + 48 + int64_t(programA.size()));
    const uint64_t list = twice.size();
    twice.insert(twice.end(), {'L', 'i', 's', 't', 2, 0, 0, 0});
    Bytes entry(20);
    std::memcpy(entry.data(), "Comp", 4);
    for (uint64_t offset : {uint64_t(48), secondRecord}) {
        writeAt(entry, 4, offset);
        writeAt(entry, 12, uint64_t(programA.size()));
        twice.insert(twice.end(), entry.begin(), entry.end());
    }
    writeAt(twice, 40, list);
    dropFiles({write("twice.vstpreset", twice)});
    expectProgram(programA);
    EXPECT_EQ(snapshot().programName, "twice");

    // No "Cont", or one the controller refuses: the program loads, the hidden settings stay.
    Bytes refusedState = presetFile(programA, controllerState(2, kHiddenA));
    for (const Bytes& file : {presetFile(programB, {}), refusedState}) {
        dropFiles({write("no state.vstpreset", file)});
        expectHidden(kHiddenB);
    }
    expectProgram(programA);
}

TEST_F(PresetDropTest, BrokenFilesAndOtherThingsChangeNothing)
{
    struct Broken {
        const char* what;
        std::function<void(Bytes&)> change;
    };
    const Broken kBroken[] = {
        {"other file id", [](Bytes& f) { f[3] = '2'; }},
        {"other class id", [](Bytes& f) { f[8] = f[8] == '0' ? '1' : '0'; }},
        {"class id in lower case", [](Bytes& f) { std::transform(f.begin() + 8, f.begin() + 40, f.begin() + 8, ::tolower); }},
        {"list past the end", [](Bytes& f) { writeAt(f, 40, uint64_t(f.size() - 7)); }},
        {"negative list offset", [](Bytes& f) { writeAt(f, 40, int64_t(-1)); }},
        {"one entry more than the file holds", [](Bytes& f) { writeAt(f, listOf(f) + 4, int32_t(3)); }},
        {"huge entry count", [](Bytes& f) { writeAt(f, listOf(f) + 4, int32_t(0x7fffffff)); }},
        {"no entries", [](Bytes& f) { writeAt(f, listOf(f) + 4, int32_t(-1)); }},
        {"chunk past the end", [](Bytes& f) { writeAt(f, entryOf(f, 0) + 4, uint64_t(f.size() - 100)); }},
        {"chunk size above 2^31", [](Bytes& f) { writeAt(f, entryOf(f, 0) + 12, uint64_t(0x80000000u) + 372); }},
        {"chunk size that wraps", [](Bytes& f) { writeAt(f, entryOf(f, 1) + 12, uint64_t(-48)); }},
        {"no Comp", [](Bytes& f) { std::memcpy(f.data() + entryOf(f, 0), "Cmpx", 4); }},
        {"Comp the processor refuses", [](Bytes& f) { writeAt(f, 48 + 4, int32_t(39)); }},
        {"Comp too short for a record", [](Bytes& f) { writeAt(f, entryOf(f, 0) + 12, uint64_t(8)); }},
        {"above 1 MiB", [](Bytes& f) { f.resize(1024 * 1024 + 1); }},
    };
    // Every broken file is one of program A over program B: a file let through would show.
    dropFiles({write("Big Room.vstpreset", fileB)});
    const Snapshot before = snapshot();
    std::vector<Bytes> files;
    for (const Broken& broken : kBroken) {
        files.push_back(fileA);
        broken.change(files.back());
    }
    for (uint64_t cut : {0, 4, 8, 40, 47, 48, 400}) // in the header, then in the chunks before the list
        files.emplace_back(fileA.begin(), fileA.begin() + int64_t(cut));
    for (uint64_t field = listOf(fileA); field < fileA.size(); field += 4)
        files.emplace_back(fileA.begin(), fileA.begin() + int64_t(field)); // each field of the list cut off
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i < std::size(kBroken) ? kBroken[i].what : "truncated");
        EXPECT_TRUE(dropFiles({write("broken.vstpreset", files[i])}));
        EXPECT_EQ(snapshot(), before);
    }

    // Not a preset by its name or its kind, whatever it holds.
    std::filesystem::create_directories(folder + "a.b");
    std::filesystem::create_directories(folder + "dir.vstpreset");
    ASSERT_EQ(mkfifo((folder + "fifo.vstpreset").c_str(), 0600), 0);
    const std::string names[] = {"x.VSTPRESET", "x.fxp", "x.fxb", "vstpreset", "a.b/preset"};
    std::vector<std::string> paths {"", folder + "dir.vstpreset", folder + "fifo.vstpreset", folder + "missing.vstpreset"};
    for (const std::string& name : names)
        paths.push_back(write(name, fileA));
    EXPECT_TRUE(dropFiles(paths));
    EXPECT_EQ(snapshot(), before);

    // Paths end at the item's size or its first NUL; other types are not paths.
    const std::string presetA = write("A.vstpreset", fileA);
    EXPECT_TRUE(drop({{IDataPackage::kFilePath, presetA + "x"}, {IDataPackage::kText, presetA + '\0'},
                      {IDataPackage::kBinary, presetA}, {IDataPackage::kFilePath, std::string()}}));
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(drop({{IDataPackage::kFilePath, presetA + std::string("\0.txt", 5)}}));
    EXPECT_EQ(snapshot().programName, "A");
}
