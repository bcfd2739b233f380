#include "Vextoria3Controller.h"

#include <cmath>

#include "ControllerState.h"
#include "HiddenDefaults.h"
#include "ParameterTable.h"
#include "Utf16Text.h"
#include "ValueParameters.h"
#include "dsp/FactoryBank.h"
#include "dsp/ProgramChunk.h"
#include "ids.h"

namespace Steinberg {
namespace Vst {

using namespace Vextoria3Ids;

FUnknown* Vextoria3Controller::createInstance(void* /*context*/)
{
    return static_cast<IEditController*>(new Vextoria3Controller);
}

tresult PLUGIN_API Vextoria3Controller::queryInterface(const TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, IMidiMapping::iid, IMidiMapping)
    QUERY_INTERFACE(iid, obj, IUnitInfo::iid, IUnitInfo)
    QUERY_INTERFACE(iid, obj, IEditController::iid, IEditController)
    QUERY_INTERFACE(iid, obj, IEditController2::iid, IEditController2)
    QUERY_INTERFACE(iid, obj, IPluginBase::iid, IEditController)
    QUERY_INTERFACE(iid, obj, IConnectionPoint::iid, IConnectionPoint)
    return FObject::queryInterface(iid, obj);
}

tresult PLUGIN_API Vextoria3Controller::initialize(FUnknown* context)
{
    const tresult result = EditControllerEx1::initialize(context);
    if (result != kResultOk)
        return result;
    editor = nullptr;
    addUnit(new Unit(Utf16Text::HostString("Root").value, kRootUnitId, kNoParentUnitId, Vextoria3Params::kProgramListId));

    for (auto& preset : presets)
        preset = std::make_unique<Vextoria3Preset>();
    createFactoryPresets();

    for (const auto& spec : Vextoria3Params::parameterTable()) {
        if (spec.kind == Vextoria3Params::ParameterKind::programList)
            addFactoryProgramList();
        else
            parameters.addParameter(Vextoria3Params::createParameter(spec));
    }

    readHiddenDefaults(hiddenParameters);
    for (int32 id = 0; id < kNumParams; ++id)
        hostValues[id] = EditControllerEx1::getParamNormalized(id);
    editor = nullptr;
    return result;
}

tresult PLUGIN_API Vextoria3Controller::terminate()
{
    // The host's handler and loop are about to go: a restart still waiting is dropped.
    restart.cancel();
    return EditControllerEx1::terminate();
}

void Vextoria3Controller::addFactoryProgramList()
{
    auto* list = new Vextoria3Params::ProgramListWithSafeParameter(
        Utf16Text::HostString(Vextoria3Params::kProgramListName).value, Vextoria3Params::kProgramListId, kRootUnitId);
    for (const auto& preset : presets)
        list->addProgram(Utf16Text::HostString(preset->name).value);
    EditControllerEx1::addProgramList(list);
    Parameter* programParameter = list->getParameter();
    programParameter->getInfo().flags &= ~ParameterInfo::kCanAutomate;
    parameters.addParameter(programParameter);
}

void Vextoria3Controller::createFactoryPresets()
{
    setChunk(factoryBank(), factoryBankSize());
    for (int32 program = 0; program < kProgramCount; ++program)
        if (const char* name = factoryProgramName(program); name && presets[program])
            presets[program]->name = name;
}

bool Vextoria3Controller::setChunk(const void* data, int32 size)
{
    if (!data || size < 1)
        return false;
    // Every record is checked before any is stored, so a broken bank changes nothing.
    std::array<ProgramRecord, kProgramCount> records;
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t offset = 0;
    for (auto& record : records) {
        size_t consumed = 0;
        const auto parsed = readProgramChunk(bytes + offset, static_cast<size_t>(size) - offset, &consumed);
        if (!parsed)
            return false;
        record = *parsed;
        offset += consumed;
    }
    for (int32 program = 0; program < kProgramCount; ++program)
        if (presets[program])
            storeProgramRecord(records[program], *presets[program]);
    return true;
}

void Vextoria3Controller::copyStateToProgram(int32 program)
{
    if (program < 0 || program >= kProgramCount || !presets[program])
        return;
    Vextoria3Preset& preset = *presets[program];
    for (int32 id = 0; id < kNumParams; ++id)
        preset.params[id] = static_cast<float>(getParamNormalized(id));
    for (int32 index = 0; index < HiddenParameters::count; ++index)
        preset.hidden[index] = static_cast<float>(hiddenParameters.getParamValue(index));
}

void Vextoria3Controller::setProgram(int32 program)
{
    if (program < 0 || program >= kProgramCount || !presets[program])
        return;
    copyStateToProgram(currentProgram);
    currentProgram = program;
    const Vextoria3Preset& preset = *presets[program];
    for (int32 id = 0; id < kNumParams; ++id)
        if (id != kFactoryPresets)
            setParamNormalized(id, preset.params[id]);
    // The view size belongs to the user's screen, not to a program.
    for (int32 index = HiddenParamIndex::darkmode; index < HiddenParameters::count; ++index) {
        hiddenParameters.setParamValue(index, preset.hidden[index]);
        setHiddenParamNormalized(index, preset.hidden[index]);
    }
}

tresult PLUGIN_API Vextoria3Controller::setParamNormalized(ParamID tag, ParamValue value)
{
    if (!std::isfinite(value))
        return kResultFalse;
    // The copy takes the value first: the parameter tells an open editor of the change from
    // inside the base call, and the editor reads values back at once.
    if (tag < static_cast<ParamID>(kNumParams) && getParameterObject(tag))
        hostValues[tag] = Vextoria3Params::clampNormalized(value);
    const tresult result = EditControllerEx1::setParamNormalized(tag, value);
    if (result == kResultOk && tag < static_cast<ParamID>(kNumParams))
        hostValues[tag] = EditControllerEx1::getParamNormalized(tag);
    if (result == kResultOk && tag == static_cast<ParamID>(kFactoryPresets)) {
        // The program follows the stored (clamped) value, as the host will read it back.
        setProgram(Vextoria3Params::listIndex(getParamNormalized(tag), kProgramCount - 1));
        restartWithNewValues();
    }
    return result;
}

ParamValue PLUGIN_API Vextoria3Controller::getParamNormalized(ParamID tag)
{
    return tag < static_cast<ParamID>(kNumParams) ? hostValues[tag].load() : 0.0;
}

tresult PLUGIN_API Vextoria3Controller::setComponentHandler(IComponentHandler* handler)
{
    const bool waiting = restart.cancel();
    const tresult result = EditControllerEx1::setComponentHandler(handler);
    if (waiting)
        restartWithNewValues();
    return result;
}

void Vextoria3Controller::setEditor(EditorLink* openEditor)
{
    if (editor && editor != openEditor)
        if (FUnknownPtr<Linux::IRunLoop> loop(editor->hostFrame()); loop)
            restart.leaveLoop(loop);
    editor = openEditor;
}

void Vextoria3Controller::restartWithNewValues()
{
    restart.request(componentHandler, hostRunLoop(), kParamValuesChanged);
}

IPtr<Linux::IRunLoop> Vextoria3Controller::hostRunLoop() const
{
    for (FUnknown* source : {static_cast<FUnknown*>(componentHandler), hostContext.get(),
                             editor ? editor->hostFrame() : nullptr}) {
        if (source == nullptr)
            continue;
        if (FUnknownPtr<Linux::IRunLoop> loop(source); loop)
            return loop;
    }
    return nullptr;
}

void Vextoria3Controller::setPresetName(std::string name)
{
    // The SDK copies a program name into the host's 128-unit string and ends it after the
    // copy, so a longer name would be written past the host's buffer.
    constexpr int32 kNameCapacity = 128; // UTF-16 units, terminating zero included
    const Utf16Text::HostString<kNameCapacity> wideName(name);
    setProgramName(Vextoria3Params::kProgramListId, currentProgram, wideName.value);
    restartWithNewValues();
}

tresult Vextoria3Controller::setHiddenParamNormalized(int32 index, double value)
{
    if (!editor)
        return kResultFalse;
    return editor->setHiddenParameter(index, value) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Vextoria3Controller::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
    if (paramIndex < 0 || paramIndex >= getParameterCount())
        return kResultFalse;
    return EditControllerEx1::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API Vextoria3Controller::getParamStringByValue(ParamID tag, ParamValue valueNormalized,
                                                              String128 string)
{
    if (!string)
        return kInvalidArgument;
    return EditControllerEx1::getParamStringByValue(tag, valueNormalized, string);
}

tresult PLUGIN_API Vextoria3Controller::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
    if (unitIndex < 0 || unitIndex >= getUnitCount())
        return kResultFalse;
    return EditControllerEx1::getUnitInfo(unitIndex, info);
}

tresult PLUGIN_API Vextoria3Controller::setComponentState(IBStream* state)
{
    if (!state)
        return kResultFalse;
    const auto record = ControllerState::readComponentState(*state);
    if (!record)
        return kResultFalse;
    // The program number is not part of a state: loading one never switches programs.
    for (int32 id = 0; id < record->paramCount; ++id)
        if (id != kFactoryPresets)
            setParamNormalized(id, record->params[id]);
    return kResultOk;
}

tresult PLUGIN_API Vextoria3Controller::getState(IBStream* state)
{
    if (!state)
        return kResultFalse;
    return ControllerState::write(*state, hiddenParameters) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Vextoria3Controller::setState(IBStream* state)
{
    if (!state)
        return kResultFalse;
    const auto values = ControllerState::read(*state);
    if (!values)
        return kResultFalse;
    // The view size stays with this user's screen; the rest comes from the project. A value
    // the settings refuse (out of range, not a number) never reaches the editor either.
    for (int32 index = HiddenParamIndex::darkmode; index < HiddenParameters::count; ++index)
        if (hiddenParameters.setParamValue(index, (*values)[index]) && editor)
            editor->setHiddenParameter(index, (*values)[index]);
    return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
