#include "physics_data.h"

#include <xraylib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <string>

namespace physics_data {
namespace {

// Every xraylib call goes through one of these, so a failed call stops the
// generator instead of writing a silent zero into a table.
void Check(xrl_error* error, const char* what, int z, double arg) {
  if (error == nullptr) return;
  std::string message = std::string(what) + "(Z=" + std::to_string(z) + ", " + std::to_string(arg) +
                        "): " + error->message;
  xrl_error_free(error);
  throw std::runtime_error(message);
}

double Photo(int z, double e) {
  xrl_error* error = nullptr;
  double v = CS_Photo(z, e, &error);
  Check(error, "CS_Photo", z, e);
  return v;
}
double Rayleigh(int z, double e) {
  xrl_error* error = nullptr;
  double v = CS_Rayl(z, e, &error);
  Check(error, "CS_Rayl", z, e);
  return v;
}
double Compton(int z, double e) {
  xrl_error* error = nullptr;
  double v = CS_Compt(z, e, &error);
  Check(error, "CS_Compt", z, e);
  return v;
}
double FormFactor(int z, double x) {
  xrl_error* error = nullptr;
  double v = FF_Rayl(z, x, &error);
  Check(error, "FF_Rayl", z, x);
  return v;
}
// xraylib's S(x) tables start at x = 0.001 (except hydrogen's) and refuse
// smaller x; S(x) grows as x^2 from S(0) = 0, so that shape bridges the gap.
double ScatteringFunction(int z, double x) {
  constexpr double TABLE_START = 0.001;  // 1/angstrom
  if (x <= 0) return 0;
  if (x < TABLE_START) {
    return ScatteringFunction(z, TABLE_START) * (x / TABLE_START) * (x / TABLE_START);
  }
  xrl_error* error = nullptr;
  double v = SF_Compt(z, x, &error);
  Check(error, "SF_Compt", z, x);
  return v;
}
double Weight(int z) {
  xrl_error* error = nullptr;
  double v = AtomicWeight(z, &error);
  Check(error, "AtomicWeight", z, 0);
  return v;
}

Material NistMaterial(const char* name, double density) {
  xrl_error* error = nullptr;
  compoundDataNIST* data = GetCompoundDataNISTByName(name, &error);
  Check(error, "GetCompoundDataNISTByName", 0, 0);
  Material m;
  m.name = data->name;
  m.elements.assign(data->Elements, data->Elements + data->nElements);
  m.massFractions.assign(data->massFractions, data->massFractions + data->nElements);
  m.density = density > 0 ? density : data->density;
  FreeCompoundDataNIST(data);
  return m;
}

Material Element(const char* name, int z, double density) {
  return Material{name, {z}, {1.0}, density};
}

// Composite Simpson's rule with n (even) intervals.
double Simpson(const std::function<double(double)>& f, double a, double b, int n) {
  const double h = (b - a) / n;
  double sum = f(a) + f(b);
  for (int i = 1; i < n; ++i) sum += f(a + i * h) * (i % 2 == 1 ? 4 : 2);
  return sum * h / 3;
}

// Fraction of a K-shell photoabsorption's energy carried away by K x-rays:
// omega_K times the mean K-line energy over E. The K share of the
// photoabsorption is the ratio of xraylib's partial to total (both from the
// same subshell data); where those tables end (light elements above about
// 100 keV) the edge jump ratio stands in: there omega_K * E_K / E < 1e-4.
double KFluorescenceEscape(int z, double e) {
  xrl_error* error = nullptr;
  const double edge = EdgeEnergy(z, K_SHELL, &error);
  if (error != nullptr || e <= edge) {
    if (error != nullptr) xrl_error_free(error);
    return 0;
  }
  double share = -1;
  const double partial = CS_Photo_Partial(z, K_SHELL, e, &error);
  if (error == nullptr) {
    const double total = CS_Photo_Total(z, e, &error);
    if (error == nullptr && total > 0) share = partial / total;
  }
  if (error != nullptr) {
    xrl_error_free(error);
    error = nullptr;
  }
  if (!(share > 0 && share <= 1)) {
    const double jump = JumpFactor(z, K_SHELL, &error);
    Check(error, "JumpFactor", z, e);
    share = (jump - 1) / jump;
  }
  const double yield = FluorYield(z, K_SHELL, &error);
  Check(error, "FluorYield", z, e);
  const double rateA = RadRate(z, KA_LINE, &error);
  Check(error, "RadRate", z, KA_LINE);
  const double rateB = RadRate(z, KB_LINE, &error);
  if (error != nullptr) {  // light elements have no K-beta line
    xrl_error_free(error);
    error = nullptr;
  }
  const double energyA = LineEnergy(z, KA_LINE, &error);
  Check(error, "LineEnergy", z, KA_LINE);
  double energyB = 0;
  if (rateB > 0) {
    energyB = LineEnergy(z, KB_LINE, &error);
    Check(error, "LineEnergy", z, KB_LINE);
  }
  const double meanLine = (rateA * energyA + rateB * energyB) / (rateA + rateB);
  return share * yield * meanLine / e;
}

// Mean fraction of the photon energy given to the electron in incoherent
// scattering, averaged over Klein-Nishina times S(x) of element z.
double IncoherentTransferFraction(int z, double e) {
  auto weighted = [z, e](double theta, bool transfer) {
    xrl_error* error = nullptr;
    const double dcs = DCS_KN(e, theta, &error);
    Check(error, "DCS_KN", z, theta);
    const double x = MomentTransf(e, theta, &error);
    Check(error, "MomentTransf", z, theta);
    double w = dcs * ScatteringFunction(z, x) * std::sin(theta);
    if (transfer) {
      const double scattered = e / (1 + e / MEC2 * (1 - std::cos(theta)));
      w *= 1 - scattered / e;
    }
    return w;
  };
  const int n = 2000;
  const double num = Simpson([&](double t) { return weighted(t, true); }, 0, std::numbers::pi, n);
  const double den = Simpson([&](double t) { return weighted(t, false); }, 0, std::numbers::pi, n);
  return num / den;
}

// Log-log interpolation between two rows, as the transport does it.
double LogLog(double e, double e1, double c1, double e2, double c2) {
  const double f = (std::log(e) - std::log(e1)) / (std::log(e2) - std::log(e1));
  return std::exp((std::log(c2) - std::log(c1)) * f + std::log(c1));
}

// Significant digits of each stored field: as many as the field holds while
// keeping a leading blank (one more than the nominal d where that matters).
constexpr int COEF_DIGITS = 4;   // E10.4 in the E10.3 coefficient fields
constexpr int FORMX_DIGITS = 4;  // E10.4 in the E10.3 x field
constexpr int FORM_DIGITS = 6;   // E12.6 in the E12.5 fields
constexpr int AIR_DIGITS = 6;    // E12.6 in the E12.4 field
constexpr int MUS_DIGITS = 6;    // E13.6 in the E13.5 fields
constexpr double MEV_PER_KEV = 1e-3;

double StoredCoefficient(double value) { return RoundedE(value, COEF_DIGITS); }

// Largest relative error of the stored, log-log interpolated coefficients on
// (a, b] against xraylib, checked at points spaced evenly in ln E.
double IntervalError(double a, double b, const SoftCoefficients& ca, const SoftCoefficients& cb) {
  const int samples = 24;
  const double top = std::min(b, LOOKUP_MAX_ENERGY);
  double worst = 0;
  for (int k = 1; k <= samples; ++k) {
    const double e = a * std::exp(std::log(top / a) * k / samples);
    const SoftCoefficients exact = SoftTissueCoefficients(e);
    const double pairs[3][3] = {{ca.coherent, cb.coherent, exact.coherent},
                                {ca.incoherent, cb.incoherent, exact.incoherent},
                                {ca.photoelectric, cb.photoelectric, exact.photoelectric}};
    for (const auto& p : pairs) {
      const double v = LogLog(e, a, StoredCoefficient(p[0]), b, StoredCoefficient(p[1]));
      worst = std::max(worst, std::abs(v / p[2] - 1));
    }
  }
  return worst;
}

// Candidate row energies (keV), all exact in three significant digits of MeV.
std::vector<double> EnergyCandidates() {
  std::vector<double> c;
  for (int i = 50; i < 100; ++i) c.push_back(i * 0.1);
  for (int i = 20; i < 80; ++i) c.push_back(i * 0.5);
  for (int i = 40; i < 100; ++i) c.push_back(i);
  for (int i = 20; i <= 32; ++i) c.push_back(i * 5.0);
  return c;
}

// Fine grid of the scattering section: x = i * FINE_STEP up to 15, with
// S(x) and the running integral A(x) of F^2 d(x^2) at every point.
constexpr double FINE_STEP = 0.001;
constexpr int FINE_LAST = 15000;

struct FineGrid {
  std::vector<double> s;
  std::vector<double> a;
};

FineGrid MakeFineGrid(const Material& m) {
  FineGrid g;
  g.s.resize(FINE_LAST + 1);
  g.a.resize(FINE_LAST + 1);
  auto density = [&m](double x) { return MixtureFormFactorSquared(m, x) * 2 * x; };
  double running = 0;
  double previous = density(0);
  for (int i = 0; i <= FINE_LAST; ++i) {
    const double x = i * FINE_STEP;
    if (i > 0) {
      const double mid = density(x - FINE_STEP / 2);
      const double here = density(x);
      running += (previous + 4 * mid + here) * FINE_STEP / 6;
      previous = here;
    }
    g.a[i] = running;
    g.s[i] = MixtureScatteringFunction(m, x);
  }
  return g;
}

// Candidate x rows as indices into the fine grid, each exact in the four
// digits the x field carries.
std::vector<int> FormCandidates() {
  std::vector<int> c;
  for (int i = 5; i < 100; i += 5) c.push_back(i);
  for (int i = 100; i < 1000; i += 10) c.push_back(i);
  for (int i = 1000; i < 5000; i += 50) c.push_back(i);
  for (int i = 5000; i <= 10000; i += 100) c.push_back(i);
  return c;
}

// Error of linear interpolation over grid interval [ia, ib]: S against its
// largest value, A against A at the largest x a 5 keV photon can reach (so
// that it bounds the error of the sampled distribution at every energy).
double FormIntervalError(const FineGrid& g, int ia, int ib, double sMax, double aScale) {
  double worst = 0;
  const int samples = 16;
  for (int k = 1; k < samples; ++k) {
    const int i = ia + (ib - ia) * k / samples;
    const double t = double(i - ia) / (ib - ia);
    const double s = g.s[ia] + (g.s[ib] - g.s[ia]) * t;
    const double a = g.a[ia] + (g.a[ib] - g.a[ia]) * t;
    worst = std::max({worst, std::abs(s - g.s[i]) / sMax, std::abs(a - g.a[i]) / aScale});
  }
  return worst;
}

// Greedy placement: from each row, the farthest candidate within tolerance.
std::vector<int> PlaceFormRows(const FineGrid& g, const std::vector<int>& candidates,
                               double tolerance, double sMax, double aScale) {
  std::vector<int> rows{0};
  std::size_t next = 0;
  while (rows.back() < candidates.back()) {
    std::size_t best = next;  // always advance by at least one candidate
    for (std::size_t k = next; k < candidates.size(); ++k) {
      if (FormIntervalError(g, rows.back(), candidates[k], sMax, aScale) > tolerance) break;
      best = k;
    }
    rows.push_back(candidates[best]);
    next = best + 1;
  }
  return rows;
}

}  // namespace

Material SoftTissue() { return NistMaterial("Tissue, Soft (ICRU four-component)", 1.00); }
Material DryAir() { return NistMaterial("Air, Dry (near sea level)", 0); }

std::vector<Material> FilterMaterials() {
  return {NistMaterial("Water, Liquid", 1.00), Element("Aluminium", 13, 2.699),
          Element("Copper", 29, 8.96), Element("Titanium", 22, 4.54)};
}

SoftCoefficients SoftTissueCoefficients(double energyKeV) {
  static const Material tissue = SoftTissue();
  SoftCoefficients c;
  for (std::size_t i = 0; i < tissue.elements.size(); ++i) {
    const int z = tissue.elements[i];
    const double w = tissue.massFractions[i] * tissue.density;
    c.coherent += w * Rayleigh(z, energyKeV);
    c.incoherent += w * Compton(z, energyKeV);
    c.photoelectric += w * Photo(z, energyKeV);
  }
  return c;
}

double MixtureFormFactorSquared(const Material& material, double x) {
  double sum = 0;
  for (std::size_t i = 0; i < material.elements.size(); ++i) {
    const int z = material.elements[i];
    const double f = FormFactor(z, x);
    sum += material.massFractions[i] / Weight(z) * f * f;
  }
  return sum;
}

double MixtureScatteringFunction(const Material& material, double x) {
  double sum = 0;
  for (std::size_t i = 0; i < material.elements.size(); ++i) {
    const int z = material.elements[i];
    sum += material.massFractions[i] / Weight(z) * ScatteringFunction(z, x);
  }
  return sum;
}

double CoherentCumulativeAt(const Material& material, double x) {
  if (x <= 0) return 0;
  const int n = 2 * std::max(1, int(std::ceil(x / FINE_STEP)));
  return Simpson([&](double t) { return MixtureFormFactorSquared(material, t) * 2 * t; }, 0, x, n);
}

double MassEnergyTransfer(const Material& material, double energyKeV) {
  double sum = 0;
  for (std::size_t i = 0; i < material.elements.size(); ++i) {
    const int z = material.elements[i];
    const double photo = Photo(z, energyKeV) * (1 - KFluorescenceEscape(z, energyKeV));
    const double incoherent = Compton(z, energyKeV) * IncoherentTransferFraction(z, energyKeV);
    sum += material.massFractions[i] * (photo + incoherent);
  }
  return sum;
}

double LinearAttenuation(const Material& material, double energyKeV) {
  double sum = 0;
  for (std::size_t i = 0; i < material.elements.size(); ++i) {
    const int z = material.elements[i];
    sum += material.massFractions[i] *
           (Photo(z, energyKeV) + Rayleigh(z, energyKeV) + Compton(z, energyKeV));
  }
  return sum * material.density;
}

namespace {

std::vector<double> PlaceSoftEnergies(const std::vector<double>& candidates, double tolerance) {
  std::vector<double> rows{candidates.front()};
  std::size_t next = 1;
  while (rows.back() < candidates.back()) {
    const double a = rows.back();
    const SoftCoefficients ca = SoftTissueCoefficients(a);
    std::size_t best = next;
    for (std::size_t k = next; k < candidates.size(); ++k) {
      const double b = candidates[k];
      if (IntervalError(a, b, ca, SoftTissueCoefficients(b)) > tolerance) break;
      best = k;
    }
    rows.push_back(candidates[best]);
    next = best + 1;
  }
  return rows;
}

}  // namespace

std::vector<double> ChooseSoftEnergies() {
  // Spend all 35 rows: the smallest placement tolerance that fits them,
  // which leaves most of the allowed error as margin.
  const std::vector<double> candidates = EnergyCandidates();
  double low = 0, high = INTERPOLATION_TOLERANCE / 2;
  if (PlaceSoftEnergies(candidates, high).size() > std::size_t(MAX_SOFT_ROWS)) {
    throw std::runtime_error("energy rows exceed " + std::to_string(MAX_SOFT_ROWS));
  }
  for (int iteration = 0; iteration < 30; ++iteration) {
    const double mid = (low + high) / 2;
    if (PlaceSoftEnergies(candidates, mid).size() <= std::size_t(MAX_SOFT_ROWS)) {
      high = mid;
    } else {
      low = mid;
    }
  }
  return PlaceSoftEnergies(candidates, high);
}

std::vector<double> ChooseFormX() {
  static const Material tissue = SoftTissue();
  const FineGrid g = MakeFineGrid(tissue);
  const std::vector<int> candidates = FormCandidates();
  const double sMax = g.s[FINE_LAST];
  const int fiveKeVLimit = int(LOOKUP_MIN_ENERGY / KEV2ANGST / FINE_STEP);
  const double aScale = g.a[fiveKeVLimit];
  // Rows 0 .. 10 take all but the last row (15). Find the smallest tolerance
  // for which the greedy placement fits.
  const std::size_t allowed = FORM_ROWS - 1;
  double low = 0, high = 1;
  for (int iteration = 0; iteration < 50; ++iteration) {
    const double mid = (low + high) / 2;
    if (PlaceFormRows(g, candidates, mid, sMax, aScale).size() <= allowed) {
      high = mid;
    } else {
      low = mid;
    }
  }
  std::vector<int> rows = PlaceFormRows(g, candidates, high, sMax, aScale);
  // Fill any rows the greedy pass left over by halving the worst interval.
  while (rows.size() < allowed) {
    std::size_t worst = 1;
    double worstError = -1;
    for (std::size_t k = 1; k < rows.size(); ++k) {
      if (rows[k] - rows[k - 1] < 10) continue;
      const double e = FormIntervalError(g, rows[k - 1], rows[k], sMax, aScale);
      if (e > worstError) {
        worstError = e;
        worst = k;
      }
    }
    int mid = (rows[worst - 1] + rows[worst]) / 2;
    mid -= mid % 5;  // keep the row exact in three digits
    rows.insert(rows.begin() + worst, mid);
  }
  std::vector<double> x;
  for (int i : rows) x.push_back(i * FINE_STEP);
  x.push_back(15.0);
  return x;
}

SoftTable MakeSoftTable() {
  static const Material tissue = SoftTissue();
  SoftTable t;
  t.energyKeV = ChooseSoftEnergies();
  for (double e : t.energyKeV) t.coefficients.push_back(SoftTissueCoefficients(e));
  t.formX = ChooseFormX();
  for (double x : t.formX) {
    t.coherentCumulative.push_back(CoherentCumulativeAt(tissue, x));
    t.incoherentS.push_back(MixtureScatteringFunction(tissue, x));
  }
  return t;
}

std::string FormatE(double value, int w, int d) {
  std::string text;
  if (value == 0) {
    text = "." + std::string(d, '0') + "E+00";
  } else {
    // printf rounds to d significant digits (carry included) as d.ddd e+xx;
    // shifting the point one place left raises the exponent by one.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", d - 1, std::abs(value));
    std::string s(buffer);
    const std::size_t ePos = s.find('e');
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i) {
      if (s[i] != '.') digits += s[i];
    }
    const int exponent = std::stoi(s.substr(ePos + 1)) + 1;
    if (std::abs(exponent) > 99) return std::string(w, '*');
    char exp[8];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    text = (value < 0 ? "-." : ".") + digits + exp;
  }
  if (int(text.size()) > w) return std::string(w, '*');
  return std::string(w - text.size(), ' ') + text;
}

double RoundedE(double value, int d) { return std::stod(FormatE(value, d + 8, d)); }

std::string IcruSoftText(const SoftTable& t) {
  std::string out;
  char line[32];
  std::snprintf(line, sizeof line, "%5zu\r\n", t.energyKeV.size());
  out += line;
  out += " 1.00\r\n";  // density of the tissue, g/cm^3 (read and not used)
  for (std::size_t r = 0; r < t.energyKeV.size(); ++r) {
    const SoftCoefficients& c = t.coefficients[r];
    out += FormatE(t.energyKeV[r] * MEV_PER_KEV, 9, 3) + FormatE(c.coherent, 10, COEF_DIGITS) +
           FormatE(c.incoherent, 10, COEF_DIGITS) + FormatE(c.photoelectric, 10, COEF_DIGITS) +
           "\r\n";
  }
  for (std::size_t r = 0; r < t.formX.size(); ++r) {
    out += FormatE(t.formX[r], 10, FORMX_DIGITS) +
           FormatE(t.coherentCumulative[r], 12, FORM_DIGITS) +
           FormatE(t.incoherentS[r], 12, FORM_DIGITS) + "\r\n";
  }
  return out;
}

std::string AirMuTrText() {
  const Material air = DryAir();
  std::string out;
  for (int i = 1; i <= BIN_COUNT; ++i) {
    const double e = BIN_WIDTH * i;
    // Nine columns hold the bin energy in MeV with four digits and no blank.
    out += FormatE(e * MEV_PER_KEV, 9, 4) + FormatE(MassEnergyTransfer(air, e), 12, AIR_DIGITS) +
           "\r\n";
  }
  return out;
}

std::string MusText() {
  const std::vector<Material> materials = FilterMaterials();
  std::string out;
  for (int i = 1; i <= BIN_COUNT; ++i) {
    const double e = BIN_WIDTH * i;
    out += FormatE(e * MEV_PER_KEV, 10, 4);
    for (const Material& m : materials) out += FormatE(LinearAttenuation(m, e), 13, MUS_DIGITS);
    out += "\r\n";
  }
  return out;
}

}  // namespace physics_data
