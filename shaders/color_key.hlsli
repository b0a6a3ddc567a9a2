// The constants of "カラーキー": the key colour as (Y, U, V), the half-widths round it per
// component, and the boundary correction's window.
cbuffer constant0 : register(b0) {
  float3 key;
  int range;
  float3 len;
  float divie;
};
