// The schema of the demo package's configuration database "scg.qec"
// (tabledb/TomeDBFileSchema.h reads it). mkpackage makes the database from
// it; the setup program's tests compare their field sizes with it.
#pragma once

// The configuration database, encrypted and compressed under the database
// password. The setup program writes the first row of "Config" and of
// "Societe". In "Config", DDMP (the default payment delay, in days) and
// Exercice (the current exercise year) are integers that the setup program
// assigns as text; the folders are texts of a whole path's length; the
// installation date and time are date-time values.
inline constexpr char kConfigSchema[] = R"(
compress ZLIB
encrypt Blowfish 1
password vorel
table Config
  field ID autoinc
  field DDMP integer
  field Exercice integer
  field App_Path string 255
  field Prn_PdfPath string 255
  field Save_Path string 255
  field Install_Date datetime
  field Install_Time datetime
  index PK ID primary unique
table Societe
  field ID autoinc
  field Societe string 40
  field Activite string 100
  field Adresse string 80
  field Email string 60
  field CBank string 50
  field URL string 40
  field Tel string 30
  field Fax string 30
  field RC string 20
  field MF string 15
  field AI string 11
  field NIF string 15
  field NIS string 15
  field CapitalS float
  field Logo graphic
  index PK ID primary unique
)";
