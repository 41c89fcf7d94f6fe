#include "report/import_causes.h"

#include <algorithm>

namespace mirvane::report {

const std::string& keyOf(const ActivityCheck& check, Cause cause) {
    switch (cause) {
        case Cause::Slot:
            return check.slotKey;
        case Cause::Group:
            return check.codgrupo;
        case Cause::Subject:
            return check.asig;
        case Cause::Room:
            return check.aula;
        case Cause::DefaultCode:
        case Cause::TaskCode:
            break;
    }
    return check.tarea;
}

namespace {

// In the order of Cause.
constexpr std::array<CauseTexts, kCauseCount> kCauseTexts{{
    {"Clases en un día y tramo que el horario del centro no tiene",
     "Tablexa ha puesto estas clases en un tramo que no venía en el documento de Delphos. "
     "Llegan a Delphos sin día ni tramo, así que no aparecerán en su horario.",
     "Día y tramo",
     "compruebe en Delphos los tramos horarios del centro (el informe de la exportación dice "
     "si alguno no se podrá encontrar) y vuelva a exportar, o mueva esas clases en Tablexa a un "
     "tramo que exista. Después, importe de nuevo.",
     "N_DIASEMANA y X_TRAMO vacíos: ningún tramo de DIASHORAST tiene el DIHO buscado (DIA y "
     "HORA de SOLUC).",
     "Tramo"},
    {"Clases de un grupo que el documento no trae",
     "El grupo de estas clases en Tablexa no está entre los grupos del documento de Delphos. "
     "Llegan a Delphos sin unidad.",
     "Grupos",
     "si creó el grupo en Tablexa, créelo también en Delphos con la misma abreviatura y vuelva "
     "a exportar; si no, compruebe que las tablas de trabajo son las de este documento. "
     "Después, importe de nuevo.",
     "X_UNIDAD vacío: el grupo (CODGRUPO de SOLUC) no está en GRUPOST.", "Grupo"},
    {"Clases de una materia que el documento no tiene para su grupo",
     "La materia de estas clases no está en el documento de Delphos para su grupo, ni para su "
     "nivel y curso, ni entre las materias. Llegan a Delphos sin materia.",
     "Materias",
     "compruebe en Delphos que el grupo tiene esa materia, con la misma abreviatura que en "
     "Tablexa, y vuelva a exportar. Después, importe de nuevo.",
     "X_MATERIAOMC vacío: la materia (ASIG de SOLUC) no está en ASIGT ni con su grupo ni con "
     "su nivel y curso, ni en ASIGNOMT.",
     "Materia"},
    {"Clases en un aula que el documento no trae",
     "Tablexa ha puesto estas clases en un aula que no venía en el documento de Delphos. Llegan "
     "a Delphos sin dependencia (el aula); lo demás sí llega.",
     "Aulas",
     "si creó el aula en Tablexa, dela de alta en Delphos como dependencia, con la misma "
     "abreviatura, y vuelva a exportar; si no, cambie esas clases de aula en Tablexa. Después, "
     "importe de nuevo.",
     "X_DEPCENTRO vacío: el aula (AULA de SOLUC) no está en AULAT.", "Aula"},
    {"Clases sin tarea, que llegan como actividad genérica (G439)",
     "Estas clases no tienen tarea en Tablexa, o su tarea no tiene código de actividad en "
     "Delphos. Llegan a Delphos con la actividad genérica G439.",
     "Tareas",
     "dé a esas clases su tarea en Tablexa (LE, si son clases de una materia) e importe de "
     "nuevo; si la actividad genérica es la que les corresponde, nada.",
     "X_ACTIVIDAD es G439, el código por omisión: la tarea (TAREA de SOLUC) está vacía, o su "
     "materia de ASIGNOMT no tiene MATERIA.",
     "Actividad G439"},
    {"Clases con una tarea que el documento no trae",
     "La tarea de estas clases en Tablexa no está entre las materias del documento de Delphos. "
     "Llegan a Delphos con el código de la tarea tal cual, que Delphos puede no reconocer.",
     "Tareas",
     "compruebe en Delphos que la tarea existe con ese mismo código y vuelva a exportar, o "
     "corrija la tarea de esas clases en Tablexa. Después, importe de nuevo.",
     "X_ACTIVIDAD lleva la tarea (TAREA de SOLUC) tal cual: ninguna materia de ASIGNOMT tiene "
     "ese código (COD).",
     "Tarea"},
}};

}  // namespace

const CauseTexts kWithoutTeacher{
    "Clases de un profesor que no está en el documento",
    "Tablexa tiene clases de estos profesores, pero el documento de Delphos no los trae: esas "
    "clases no llegan a Delphos.",
    "Profesores (abreviatura en Tablexa)",
    "si el profesor está en Delphos con otra abreviatura, póngale en Tablexa la misma; si es "
    "nuevo, dele de alta en Delphos y vuelva a exportar. Después, importe de nuevo.",
    "PROF de SOLUC no es la ABREV de ningún profesor de PROFT; sus clases no están en el "
    "documento de resultado.",
    "Profesor"};

const CauseTexts& causeTexts(Cause cause) {
    return kCauseTexts[static_cast<std::size_t>(cause)];
}

std::string_view causeShortName(Cause cause) {
    return causeTexts(cause).shortName;
}

std::vector<KeyCount> byFrequency(std::vector<KeyCount> counts) {
    std::sort(counts.begin(), counts.end(), [](const KeyCount& a, const KeyCount& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    return counts;
}

}  // namespace mirvane::report
