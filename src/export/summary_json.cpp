#include "export/summary_json.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace cadrix {

namespace {

using Member = std::pair<const char*, const std::string*>;

void TextMembers(JsonWriter& w, std::initializer_list<Member> members) {
    for (const auto& [key, text] : members) {
        w.Key(key);
        w.String(*text);
    }
}

template <typename T, typename Members>
void Items(JsonWriter& w, const char* key, const std::vector<T>& items, Members members) {
    w.Key(key);
    w.BeginArray();
    for (const T& item : items) {
        w.BeginObject();
        members(item);
        w.EndObject();
    }
    w.EndArray();
}

void Players(JsonWriter& w, const char* key, const std::vector<SummaryPlayer>& players) {
    Items(w, key, players, [&](const SummaryPlayer& p) {
        TextMembers(w, {{"name", &p.name}, {"position", &p.position}});
    });
}

void RealLevel(JsonWriter& w, const char* key, const std::vector<RealLevelChange>& changes) {
    Items(w, key, changes, [&](const RealLevelChange& c) {
        TextMembers(w, {{"name", &c.name},
                        {"position", &c.position},
                        {"start", &c.start},
                        {"end", &c.end},
                        {"change", &c.change}});
    });
}

void Skills(JsonWriter& w, const char* key, const std::vector<SkillSum>& sums) {
    Items(w, key, sums, [&](const SkillSum& s) {
        TextMembers(w, {{"name", &s.name}, {"position", &s.position}});
        w.Key("sum");
        w.Int(s.sum);
    });
}

void Money(JsonWriter& w, const PeriodSummary& s) {
    w.Key("money");
    w.BeginObject();
    for (const auto& [key, line] : {std::pair{"payroll", &s.payroll}, std::pair{"value", &s.value}}) {
        w.Key(key);
        w.BeginArray();
        w.String(line->start);
        w.String(line->end);
        w.String(line->change);
        w.EndArray();
    }
    w.EndObject();
}

}  // namespace

void WriteSummaryJson(JsonWriter& w, const PeriodSummary& s) {
    w.BeginObject();
    Players(w, "arrivals", s.arrivals);
    Players(w, "departures", s.departures);
    Items(w, "national", s.national, [&](const NationalChange& c) {
        TextMembers(w, {{"name", &c.name}, {"position", &c.position}, {"from", &c.from}, {"to", &c.to}});
    });
    RealLevel(w, "real_level_rises", s.realLevelRises);
    RealLevel(w, "real_level_falls", s.realLevelFalls);
    Skills(w, "skill_rises", s.skillRises);
    Skills(w, "skill_falls", s.skillFalls);
    Money(w, s);
    Items(w, "club", s.club, [&](const ClubChange& c) {
        TextMembers(w, {{"caption", &c.caption}, {"start", &c.start}, {"end", &c.end}, {"change", &c.change}});
    });
    Items(w, "buildings", s.buildings, [&](const BuildingChange& b) {
        TextMembers(w, {{"name", &b.name}});
        w.Key("start");
        w.Int(b.start);
        w.Key("end");
        w.Int(b.end);
    });
    w.EndObject();
}

}  // namespace cadrix
