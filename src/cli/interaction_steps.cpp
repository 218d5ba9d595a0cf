#include "cli/interaction_steps.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "interaction/limits.h"
#include "interaction/peak_marking.h"

namespace halvorn {

namespace {

// The command line's numbers use a period whatever the locale.
constexpr char kSeparator = '.';

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// The redraw after a step; like the window's, a redraw that completes ends
// the Loading state.
void Redraw(InteractionTarget& t, InteractionReport& report) {
    report.outcome = t.redraw();
    if (report.outcome.ok) {
        t.s.Loading = false;
    }
}

LimitsReport LimitsStep(InteractionTarget& t, const InteractionOptions& o,
                        InteractionReport& report) {
    LimitsDialogModel dialog;
    dialog.DecimalSeparator = kSeparator;
    dialog.Load(t.s, t.settings);
    LimitsReport r;
    if (o.limitsMicrometres != dialog.MicrometersSelected) {
        r.error = o.limitsMicrometres ? dialog.SelectMicrometers() : dialog.SelectWavenumbers();
    }
    dialog.Text1 = *o.limitsLeft;
    dialog.Text2 = o.limitsRight;
    const bool answer = o.tooShortYes;
    const LimitsOkResult ok = dialog.Ok(t.s, [answer] { return answer; });
    r.asked = ok.asked;
    r.error = r.error || ok.error;
    r.closed = ok.closed;
    r.Text1 = dialog.Text1;
    r.Text2 = dialog.Text2;
    if (ok.closed) {
        Redraw(t, report);
    }
    return r;
}

void ClickSteps(InteractionTarget& t, const InteractionOptions& o, InteractionReport& report) {
    ReadoutFields fields;
    const bool peakMarkMode = true;  // "Peak Mark" is pressed first
    for (const PlotPosition& p : o.clicks) {
        MoveReadout(fields, t.g.peaks, t.s, t.g.mapping, t.settings, t.s.Loading, peakMarkMode, p.x,
                    p.y, t.W, t.H, kSeparator);
        ClickReport click;
        click.NearestCandidate = t.g.peaks.NearestCandidate;
        // A press does something only while the floating label shows.
        if (fields.Label19Visible) {
            switch (TopCollecModify(t.g.peaks, t.settings)) {
                case PeakToggle::Added:
                case PeakToggle::Removed:
                    t.s.RelayoutLabels = true;
                    Redraw(t, report);
                    break;
                case PeakToggle::TooMany:
                    click.message = kTooManyPeaksText;
                    break;
                case PeakToggle::NoCandidate:
                    break;
            }
        }
        report.clicks.push_back(click);
    }
}

}  // namespace

bool ParseLimitsOption(const std::string& text, InteractionOptions& o) {
    const std::vector<std::string> parts = Split(text, ',');
    if (parts.size() != 2 && !(parts.size() == 3 && parts[2] == "um")) {
        return false;
    }
    o.limitsLeft = parts[0];
    o.limitsRight = parts[1];
    o.limitsMicrometres = parts.size() == 3;
    return true;
}

bool ParseYesNo(const std::string& text, bool& yes) {
    yes = text == "yes";
    return text == "yes" || text == "no";
}

bool ParsePositions(const std::string& text, std::vector<PlotPosition>& positions) {
    std::vector<PlotPosition> parsed;
    for (const std::string& item : Split(text, ';')) {
        const std::vector<std::string> xy = Split(item, ',');
        PlotPosition p;
        if (xy.size() != 2 || !ParseFloat(xy[0], p.x) || !ParseFloat(xy[1], p.y)) {
            return false;
        }
        parsed.push_back(p);
    }
    positions.insert(positions.end(), parsed.begin(), parsed.end());
    return true;
}

InteractionReport RunInteractionSteps(InteractionTarget& target, const InteractionOptions& o) {
    InteractionReport report;
    if (o.limitsLeft) {
        report.limits = LimitsStep(target, o, report);
    }
    if (!o.clicks.empty()) {
        ClickSteps(target, o, report);
    }
    return report;
}

void WriteInteractionKeys(Json& json, const InteractionReport& report) {
    if (report.limits) {
        const LimitsReport& l = *report.limits;
        Json limits = Json::object();
        limits["asked"] = l.asked;
        limits["error"] = l.error;
        limits["closed"] = l.closed;
        limits["Text1"] = l.Text1;
        limits["Text2"] = l.Text2;
        json["limits"] = std::move(limits);
    }
    if (!report.clicks.empty()) {
        Json clicks = Json::array();
        for (const ClickReport& c : report.clicks) {
            Json click = Json::object();
            click["NearestCandidate"] = c.NearestCandidate;
            click["message"] = c.message;
            clicks.push_back(std::move(click));
        }
        json["clicks"] = std::move(clicks);
    }
}

std::vector<ReadoutRow> RunReadout(InteractionTarget& t, const InteractionOptions& o) {
    std::vector<ReadoutRow> rows;
    ReadoutFields fields;
    for (const PlotPosition& p : o.at) {
        MoveReadout(fields, t.g.peaks, t.s, t.g.mapping, t.settings, t.s.Loading, o.peakMark, p.x,
                    p.y, t.W, t.H, kSeparator);
        rows.push_back({p, fields, t.g.peaks.NearestCandidate});
    }
    return rows;
}

Json ReadoutRowsJson(const std::vector<ReadoutRow>& rows) {
    Json array = Json::array();
    for (const ReadoutRow& row : rows) {
        const ReadoutFields& f = row.fields;
        Json entry = Json::object();
        entry["x"] = row.at.x;
        entry["y"] = row.at.y;
        entry["Label1"] = f.Label1;
        entry["Line5Visible"] = f.Line5Visible;
        entry["Line5X"] = f.Line5X;
        entry["Label19Visible"] = f.Label19Visible;
        entry["Label19Text"] = f.Label19Text;
        entry["Label19Flipped"] = f.Label19Flipped;
        entry["NearestCandidate"] = row.NearestCandidate;
        array.push_back(std::move(entry));
    }
    return array;
}

}  // namespace halvorn
