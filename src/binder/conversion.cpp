#include "binder/conversion.h"

#include <algorithm>
#include <atomic>
#include <type_traits>

#include "binder/py_ref.h"

namespace corv::binder {
namespace {

// Sequences report their own length; room is reserved only up to this many
// items, so a sequence lying about its length cannot force a huge allocation.
constexpr Py_ssize_t reserve_limit = 4096;

std::atomic<ConversionRoom> conversion_room{nullptr};
// What the current call's conversion has taken so far, on this thread.
thread_local std::size_t converted_bytes = 0;

template <class Item>
std::size_t held_bytes(const Item& item) {
    if constexpr (std::is_same_v<Item, std::string>) {
        return sizeof(Item) + item.size();
    } else {
        return sizeof(Item);
    }
}

// Every items_per_look items: a pending signal's handler runs (and may stop
// the conversion), and the bytes taken so far must fit in the room left.
bool keep_converting() {
    if (PyErr_CheckSignals() != 0) return false;
    ConversionRoom room = conversion_room.load(std::memory_order_relaxed);
    if (room != nullptr && !room(converted_bytes)) {
        PyErr_NoMemory();
        return false;
    }
    return true;
}

bool read(PyObject* obj, std::string& out) {
    if (!PyUnicode_Check(obj)) return refuse_type(obj, "str");
    Py_ssize_t size = 0;
    const char* utf8 = PyUnicode_AsUTF8AndSize(obj, &size);
    if (utf8 == nullptr) return false;
    out.assign(utf8, static_cast<std::size_t>(size));
    return true;
}

template <class Item>
bool read(PyObject* obj, std::vector<Item>& out) {
    if (PyUnicode_Check(obj)) {
        PyErr_SetString(PyExc_TypeError, "Can't extract `str` to `Vec`");
        return false;
    }
    if (!PySequence_Check(obj)) return refuse_type(obj, "Sequence");
    Py_ssize_t size = PySequence_Size(obj);
    if (size < 0) return false;
    out.reserve(static_cast<std::size_t>(std::min(size, reserve_limit)));
    ItemTally tally;
    for (Py_ssize_t i = 0; i < size; ++i) {
        PyRef item(PySequence_GetItem(obj, i));
        if (!item) return false;
        Item value;
        if (!read(item.get(), value)) return false;
        const std::size_t bytes = held_bytes(value);
        out.push_back(std::move(value));
        if (!count_converted_item(tally, bytes)) return false;
    }
    end_converted_items(tally);
    return true;
}

template <class T>
bool read(PyObject* obj, std::optional<T>& out) {
    if (obj == nullptr || obj == Py_None) {
        out.reset();
        return true;
    }
    T value;
    if (!read(obj, value)) return false;
    out = std::move(value);
    return true;
}

bool read(PyObject* obj, std::uint64_t& out) {
    PyRef index(PyNumber_Index(obj));
    if (!index) return false;
    unsigned long long value = PyLong_AsUnsignedLongLong(index.get());
    if (value == static_cast<unsigned long long>(-1) && PyErr_Occurred() != nullptr) return false;
    out = value;
    return true;
}

bool read(PyObject* obj, std::int64_t& out) {
    PyRef index(PyNumber_Index(obj));
    if (!index) return false;
    long long value = PyLong_AsLongLong(index.get());
    if (value == -1 && PyErr_Occurred() != nullptr) return false;
    out = value;
    return true;
}

template <class T>
bool read_into(PyObject* obj, Value& out) {
    T value{};
    if (!read(obj, value)) return false;
    store(out, std::move(value));
    return true;
}

// Replaces the current TypeError by one whose message names the parameter;
// the new error carries the old one's cause.
void name_parameter_in_type_error(const char* name) {
    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    PyRef type_ref(type), value_ref(value), traceback_ref(traceback);
    PyRef text(value != nullptr ? PyObject_Str(value) : PyUnicode_FromString(""));
    if (!text) return;
    PyRef message(PyUnicode_FromFormat("argument '%s': %U", name, text.get()));
    if (!message) return;
    PyRef replacement(PyObject_CallFunctionObjArgs(PyExc_TypeError, message.get(), nullptr));
    if (!replacement) return;
    if (value != nullptr) {
        PyObject* cause = PyException_GetCause(value);                         // new reference or null
        if (cause != nullptr) PyException_SetCause(replacement.get(), cause);  // takes the reference
    }
    PyErr_SetObject(PyExc_TypeError, replacement.get());
}

}  // namespace

const Converter text{read_into<std::string>, false};
const Converter text_list{read_into<TextList>, false};
const Converter text_rows{read_into<TextRows>, false};
const Converter text_net{read_into<TextNet>, false};
const Converter optional_text{read_into<std::optional<std::string>>, true};
const Converter optional_text_list{read_into<std::optional<TextList>>, true};
const Converter optional_text_rows{read_into<std::optional<TextRows>>, true};
const Converter unsigned_integer{read_into<std::uint64_t>, false};
const Converter signed_integer{read_into<std::int64_t>, false};

bool refuse_type(PyObject* obj, const char* target) {
    PyRef type_name(PyType_GetName(Py_TYPE(obj)));
    if (!type_name) return false;
    PyErr_Format(PyExc_TypeError, "'%U' object cannot be converted to '%s'", type_name.get(), target);
    return false;
}

void prefix_current_error(const std::string& prefix) {
    if (PyErr_Occurred() == nullptr || PyErr_ExceptionMatches(PyExc_MemoryError)) return;
    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    PyRef replacement;
    if (value != nullptr) {
        PyRef old_message(PyObject_Str(value));
        PyRef message(old_message ? PyUnicode_FromFormat("%s%U", prefix.c_str(), old_message.get()) : nullptr);
        if (message) replacement = PyRef(PyObject_CallFunctionObjArgs(type, message.get(), nullptr));
    }
    if (!replacement || !PyExceptionInstance_Check(replacement.get())) {
        PyErr_Clear();
        PyErr_Restore(type, value, traceback);  // takes the references
        return;
    }
    PyObject* cause = PyException_GetCause(value);                         // new reference or null
    if (cause != nullptr) PyException_SetCause(replacement.get(), cause);  // takes the reference
    PyRef type_ref(type), value_ref(value), traceback_ref(traceback);
    PyErr_SetObject(type, replacement.get());
}

bool convert_argument(const Param& param, PyObject* obj, Value& out) {
    if (obj == nullptr && !param.kind->optional) {
        PyErr_Format(PyExc_SystemError, "argument '%s' was not bound", param.name);
        return false;
    }
    if (param.kind->read(obj, out)) return true;
    if (param.kind->names_any_error) {
        prefix_current_error(std::string("argument '") + param.name + "': ");
    } else if (PyErr_ExceptionMatches(PyExc_TypeError)) {
        name_parameter_in_type_error(param.name);
    }
    return false;
}

void set_conversion_room(ConversionRoom room) noexcept { conversion_room.store(room, std::memory_order_relaxed); }

void begin_conversion() noexcept { converted_bytes = 0; }

bool look_at_conversion(ItemTally& tally) {
    end_converted_items(tally);
    tally.until_look = items_per_look;
    return keep_converting();
}

void end_converted_items(ItemTally& tally) noexcept {
    converted_bytes += tally.bytes;
    tally.bytes = 0;
}

}  // namespace corv::binder
