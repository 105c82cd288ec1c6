// Dates as the workstation writes them: "yyyy/mm/dd".

export function pad(n, width = 2) {
  return String(n).padStart(width, '0');
}

export function formatDate(d) {
  return `${pad(d.getFullYear(), 4)}/${pad(d.getMonth() + 1)}/${pad(d.getDate())}`;
}

// A Date for a "yyyy/mm/dd" text that names a real day; null otherwise.
export function parseDate(text) {
  const m = /^(\d{4})\/(\d{2})\/(\d{2})$/.exec(String(text ?? '').trim());
  if (!m) return null;
  const d = new Date(Number(m[1]), Number(m[2]) - 1, Number(m[3]));
  if (d.getFullYear() !== Number(m[1]) || d.getMonth() !== Number(m[2]) - 1 || d.getDate() !== Number(m[3])) return null;
  return d;
}

// What the "yyyy/mm/dd" edit mask shows for typed text: digits only, the
// slashes put in their places.
export function maskDate(text) {
  const digits = String(text ?? '').replace(/\D/g, '').slice(0, 8);
  if (digits.length <= 4) return digits;
  if (digits.length <= 6) return `${digits.slice(0, 4)}/${digits.slice(4)}`;
  return `${digits.slice(0, 4)}/${digits.slice(4, 6)}/${digits.slice(6)}`;
}
