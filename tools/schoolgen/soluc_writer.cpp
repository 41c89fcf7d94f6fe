#include "schoolgen/soluc_writer.h"

#include <algorithm>
#include <map>
#include <random>

#include "base/text.h"
#include "dbf/table.h"

namespace mirvane::schoolgen {
namespace {

constexpr std::string_view kNotATask = "LE";

// What the export writes into ASIGT.NIVEL, which the timetabler copies.
std::string storedLevel(const std::string& nivel) {
    return nivel.empty() ? "NIV" : nivel;
}

// The timetabler's task code: a task subject's own code, otherwise "LE".
std::string taskCode(const School& school, const Assignment& a) {
    if (a.materia.empty() || a.materia.front() != 'G') return std::string(kNotATask);
    for (const Subject& subject : school.subjects)
        if (subject.materia == a.materia) return subject.cod;
    return a.materia;
}

int lessonsOf(const Assignment& a) {
    int minutes = 0;
    return text::tryToInt(a.minutos, minutes) && minutes >= 110 ? 2 : 1;
}

}  // namespace

std::vector<Lesson> solution(const School& school, std::uint32_t seed) {
    std::mt19937 dice(seed);
    auto oneIn = [&dice](unsigned n) { return dice() % n == 0; };
    const int slots = std::max(1, school.days * school.slotsPerDay);
    std::vector<int> nextSlot(school.teachers.size(), 0);

    std::vector<Lesson> lessons;
    for (const Assignment& a : school.assignments) {
        for (int k = 0; k < lessonsOf(a); ++k) {
            Lesson lesson;
            lesson.prof = school.teachers.at(a.teacher).abrev;
            // Each teacher's lessons fill the week slot by slot, with gaps.
            int& slot = nextSlot[a.teacher];
            slot = (slot + 1 + static_cast<int>(dice() % 3)) % slots;
            lesson.dia = 1 + slot / std::max(1, school.slotsPerDay);
            lesson.hora = 1 + slot % std::max(1, school.slotsPerDay);
            lesson.tarea = taskCode(school, a);
            lesson.aula = text::trim(a.caula);
            lesson.codgrupo = a.cgrup;
            lesson.asig = a.casig;
            lesson.nivel = storedLevel(a.nivel);
            lesson.curso = a.curso;

            if (oneIn(30)) lesson.dia = lesson.hora = 0;  // not placed
            if (oneIn(40)) lesson.aula = "ZZ" + std::to_string(dice() % 100);
            if (oneIn(45) && !school.groups.empty())  // taught to another group
                lesson.codgrupo = school.groups[dice() % school.groups.size()].abrev;
            if (oneIn(60)) lesson.asig = text::toLower(lesson.asig);
            if (oneIn(70)) lesson.tarea.clear();
            if (oneIn(200)) lesson.prof = "NADIE";
            lessons.push_back(lesson);
            if (oneIn(50)) lessons.push_back(lesson);  // written twice
        }
    }
    // The timetabler writes its solution in the order of the week.
    std::stable_sort(lessons.begin(), lessons.end(), [](const Lesson& x, const Lesson& y) {
        return std::pair(x.dia, x.hora) < std::pair(y.dia, y.hora);
    });
    return lessons;
}

std::vector<Lesson> mismatched(std::vector<Lesson> lessons, std::uint32_t seed) {
    std::mt19937 dice(seed);
    std::map<std::string, std::string> renamed;
    for (Lesson& lesson : lessons) {
        if (lesson.dia == 0) continue;
        if (dice() % 10 < 8) {
            auto [at, added] = renamed.try_emplace(lesson.codgrupo, "");
            if (added) at->second = "GX" + std::to_string(renamed.size() % 300);
            lesson.codgrupo = at->second;
        }
        if (dice() % 5 == 0) lesson.aula = "AX" + std::to_string(dice() % 150);
        if (lesson.dia == 5) lesson.hora += 10;
    }
    return lessons;
}

void writeSoluc(const std::vector<Lesson>& lessons, const std::filesystem::path& folder) {
    dbf::Table table;
    formats::replaceTable(table, folder, kSolucSpec);
    table.open();
    for (const Lesson& lesson : lessons) {
        table.append();
        table.setText("PROF", lesson.prof);
        table.setFloat("DIA", lesson.dia);
        table.setFloat("HORA", lesson.hora);
        table.setText("TAREA", lesson.tarea);
        table.setText("AULA", lesson.aula);
        table.setText("CODGRUPO", lesson.codgrupo);
        table.setText("ASIG", lesson.asig);
        table.setText("NIVEL", lesson.nivel);
        table.setText("CURSO", lesson.curso);
        table.post();
    }
    table.close();
}

}  // namespace mirvane::schoolgen
