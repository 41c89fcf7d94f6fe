#include "schoolgen/exchange_writer.h"

#include <initializer_list>
#include <string_view>
#include <utility>

#include "base/safe_file.h"
#include "base/text.h"

namespace mirvane::schoolgen {
namespace {

using Field = std::pair<std::string_view, const std::string&>;

// The values are Windows-1252; the generator only uses characters that
// ISO-8859-1 has at the same codes, so they are written as they are.
void appendEscaped(std::string& out, std::string_view value) {
    text::appendEscapedMarkup(out, value);
}

class DocumentText {
  public:
    DocumentText() {
        out_ = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<SERVICIO>\n  <SALIDAS>\n";
    }

    void openSection(std::string_view seq) {
        out_ += "    <listasal seq=\"";
        out_ += seq;
        out_ += "\">\n";
    }
    void closeSection() { out_ += "    </listasal>\n"; }

    void record(std::initializer_list<Field> fields) {
        out_ += "      <listasal>\n";
        for (const auto& [label, value] : fields) {
            out_ += "        <salida dato=\"";
            out_ += label;
            out_ += "\">";
            appendEscaped(out_, value);
            out_ += "</salida>\n";
        }
        out_ += "      </listasal>\n";
    }

    std::string finish() {
        out_ += "  </SALIDAS>\n</SERVICIO>\n";
        return std::move(out_);
    }

  private:
    std::string out_;
};

}  // namespace

std::string exchangeDocument(const School& school) {
    DocumentText doc;
    doc.openSection("MATERIAS");
    for (const Subject& s : school.subjects)
        doc.record({{"X_MATERIAOMC", s.materia},
                    {"ABREVIATURA", s.cod},
                    {"CODIGO_LARGO", s.codLargo},
                    {"DESCRIPCION", s.nombre}});
    doc.closeSection();

    doc.openSection("PROFESORES");
    for (const Teacher& t : school.teachers)
        doc.record({{"X_EMPLEADO", t.xEmpleado},
                    {"F_TOMAPOS", t.fTomapos},
                    {"NOMBRE", t.nombre},
                    {"ABREVIATURA", t.abrev}});
    doc.closeSection();

    doc.openSection("AULAS");
    for (const Room& r : school.rooms)
        doc.record({{"X_DEPCENTRO", r.depcentro},
                    {"ABREVIATURA", r.abrev},
                    {"DESCRIPCION", r.nombre},
                    {"EDIFICIO", r.edificio}});
    doc.closeSection();

    doc.openSection("GRUPOS");
    for (const Group& g : school.groups)
        doc.record({{"X_UNIDAD", g.unidad},
                    {"ABREVIATURA", g.abrev},
                    {"TURNO", g.turno},
                    {"NIVEL", g.nivel},
                    {"CURSO", g.curso},
                    {"GRUPO", g.grupo}});
    doc.closeSection();

    doc.openSection("ASIGNATURAS");
    for (const Assignment& a : school.assignments)
        doc.record({{"MATERIA", a.casig},
                    {"UNIDAD", a.cgrup},
                    {"AULA", a.caula},
                    {"TURNO", a.turno},
                    {"NIVEL", a.nivel},
                    {"CURSO", a.curso},
                    {"GRUPO", a.grupo},
                    {"MINUTOS", a.minutos},
                    {"X_MATERIAOMC", a.materia}});
    doc.closeSection();

    doc.openSection("TRAMOS");
    for (const Slot& s : school.slots)
        doc.record({{"CODIGO_DELPHOS", s.codigoDelphos},
                    {"NOMBRE", s.nombre},
                    {"MINUTOS", s.minutos},
                    {"INICIO", s.inicio},
                    {"FIN", s.fin}});
    doc.closeSection();
    return doc.finish();
}

void writeExchangeDocument(const School& school, const std::filesystem::path& file) {
    saveFileSafely(file, exchangeDocument(school));
}

}  // namespace mirvane::schoolgen
