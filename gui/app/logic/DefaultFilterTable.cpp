#include "DefaultFilterTable.h"

std::vector<PresetFilter> DefaultFilterTable()
{
    return {
        {L"C/C++ Files", L"*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl"},
        {L"CMake Files", L"*.cmake"},
        {L"CSS Files", L"*.css"},
        {L"Diff Files", L"*.diff;*.patch"},
        {L"HTML Files", L"*.html;*.htm;*.shtml;*.shtm;*.xhtml"},
        {L"Java Files", L"*.java"},
        {L"JavaScript Files", L"*.js;*.jsp"},
        {L"Lua Files", L"*.lua"},
        {L"Makefile Files", L"*.mak"},
        {L"Pascal Files", L"*.pas;*.inc"},
        {L"Perl Files", L"*.pl;*.pm;*.plx"},
        {L"PHP Files", L"*.php;*.php3;*.phtml"},
        {L"Python Files", L"*.py;*.pyw"},
        {L"Ruby Files", L"*.rb;*.rbw"},
        {L"SQL Files", L"*.sql"},
        {L"TCL Files", L"*.tcl"},
        {L"TeX Files", L"*.tex"},
        {L"Text Files", L"*.txt"},
        {L"XML Files", L"*.xml;*.xsml;*.xsl;*.xsd;*.kml;*.wsdl"},
        {L"All Files", L"*"},
    };
}
