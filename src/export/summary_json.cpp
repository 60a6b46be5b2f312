#include "export/summary_json.h"

#include <cstddef>

namespace cadrix {

namespace {

void Field(JsonWriter& w, const SummaryField& field) {
    w.Key(field.key);
    if (field.number)
        w.Int(*field.number);
    else
        w.String(field.text);
}

// Each item an object of its fields.
void Objects(JsonWriter& w, const SummaryGroup& group) {
    w.BeginArray();
    for (const SummaryItem& item : group.items) {
        w.BeginObject();
        for (const SummaryField& field : item.fields)
            Field(w, field);
        w.EndObject();
    }
    w.EndArray();
}

// Each item a member named by its first field's key, the array of the others' texts.
void Named(JsonWriter& w, const SummaryGroup& group) {
    w.BeginObject();
    for (const SummaryItem& item : group.items) {
        w.Key(item.fields.front().key);
        w.BeginArray();
        for (std::size_t i = 1; i < item.fields.size(); ++i)
            w.String(item.fields[i].text);
        w.EndArray();
    }
    w.EndObject();
}

}  // namespace

void WriteSummaryJson(JsonWriter& w, const PeriodSummary& s) {
    w.BeginObject();
    for (const SummaryGroup& group : SummaryGroups(s)) {
        w.Key(group.key);
        if (group.shape == SummaryShape::Named)
            Named(w, group);
        else
            Objects(w, group);
    }
    w.EndObject();
}

}  // namespace cadrix
