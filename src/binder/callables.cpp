#include "binder/callables.h"

#include <deque>
#include <string>

#include "binder/binding.h"
#include "binder/conversion.h"

namespace corv::binder {

const char* signed_doc(const Entry& entry, bool is_method) {
    // Tables are made once, at module initialisation under the interpreter
    // lock; the texts live as long as the process, as the tables do.
    static std::deque<std::string> texts;
    std::string sig = std::string(entry.name) + (is_method ? "($self" : "(");
    bool first = !is_method, keywords = false;
    for (const Param& p : entry.params) {
        if (!first) sig += ", ";
        first = false;
        if (p.keyword_only && !keywords) {
            sig += "*, ";
            keywords = true;
        }
        sig += p.name;
        if (p.kind->optional) {
            sig += '=';
            sig += p.shown_default != nullptr ? p.shown_default : "None";
        }
    }
    sig += ")\n--\n\n";
    sig += entry.doc;
    return texts.emplace_back(std::move(sig)).c_str();
}

PyObject* invoke(const Surface& surface, std::size_t index, PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
    const Entry& entry = surface.entries[index];
    const Receiver* receiver = surface.receiver;
    const void* native = nullptr;
    if (receiver != nullptr) {
        native = receiver->unwrap(self);
        if (native == nullptr) {
            PyErr_Format(PyExc_TypeError, "%s.%s() needs a %s instance", receiver->class_name, entry.name,
                         receiver->class_name);
            return nullptr;
        }
    }
    try {
        // The bound references keep every argument (such as another native
        // object) alive until the implementation has returned.
        const char* owner = receiver != nullptr ? receiver->class_name : nullptr;
        std::optional<std::vector<PyRef>> bound = bind_arguments({owner, entry.name, entry.params}, args, kwargs);
        if (!bound) return nullptr;
        begin_conversion();
        Call call{native, {}};
        call.args.values.reserve(entry.params.size());
        for (std::size_t i = 0; i < entry.params.size(); ++i) {
            Value value;
            if (!convert_argument(entry.params[i], (*bound)[i].get(), value)) return nullptr;
            call.args.values.push_back(std::move(value));
        }
        return surface.run != nullptr ? surface.run(entry.impl, call) : entry.impl(call);
    } catch (...) {
        surface.raise_current_exception();
        return nullptr;
    }
}

}  // namespace corv::binder
